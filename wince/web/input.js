// Input as the page hears it: DOM events queued as they come, as they are,
// and handed to the program when it next looks at its queue; what they mean
// (keys, the stylus, pads, pause) is the player's, in C++. Game pads have no
// events: the program reads them when it looks. A wait for input ends when
// an event comes.
/* global PellaxStart, PellaxScreen */
/* exported PellaxInput */
var PellaxInput = (function() {
  'use strict';
  // Timers fire late, and a frame that starts late starts the next one late
  // too: the wait's timer is set this much early and the rest passes in
  // quick turns of the browser. The lead grows at once to a timer seen late
  // (a busy or slowed machine) and shrinks slowly back, since quick turns
  // cost the browser some work.
  var SHORTEST_LEAD_MS = 1.5, LONGEST_LEAD_MS = 8, LEAD_EASING_MS = 0.05;
  var lead = SHORTEST_LEAD_MS;
  var stage = document.getElementById('stage');
  var queue = [], wake = null, timer = 0;

  function add(kind, name, numbers) {
    if (!PellaxStart.playing()) return;
    var last = queue[queue.length - 1];
    // Of moves not yet taken only the last counts: where the pointer is now.
    if (kind === 'pointermove' && last && last.kind === kind) queue.pop();
    queue.push({ kind: kind, name: name, numbers: numbers });
    if (wake) wake();
  }
  function next() {
    return queue.shift() || null;
  }

  // Keys by where they sit (KeyboardEvent.code). Every key is the game's
  // but for the browser's shortcuts with Ctrl or the logo key: arrows,
  // Space and Tab neither scroll nor move the focus.
  function key(event) {
    var dialogOpen = !!document.querySelector('dialog[open]');
    if (!PellaxStart.playing() || (event.type === 'keydown' && dialogOpen)) return;
    if (!event.ctrlKey && !event.metaKey) event.preventDefault();
    add(event.type, event.code, [event.repeat ? 1 : 0, event.altKey ? 1 : 0]);
  }
  window.addEventListener('keydown', key);
  window.addEventListener('keyup', key);

  // A pointer anywhere on the stage, in its device pixels: the player knows
  // where the screen is.
  function pointer(event) {
    if (event.type === 'pointerdown') {
      event.preventDefault();
      stage.setPointerCapture(event.pointerId);
    }
    var box = stage.getBoundingClientRect(), ratio = window.devicePixelRatio || 1;
    add(event.type, '', [
      (event.clientX - box.left) * ratio, (event.clientY - box.top) * ratio, event.button,
      event.isPrimary ? 1 : 0
    ]);
  }
  ['pointerdown', 'pointermove', 'pointerup', 'pointercancel'].forEach(function(type) {
    stage.addEventListener(type, pointer);
  });

  // The handheld's buttons under the screen, by name: a finger on one holds
  // it down.
  document.querySelectorAll('#pad [data-button]').forEach(function(button) {
    var name = button.dataset.button;
    button.addEventListener('pointerdown', function(event) {
      event.preventDefault();
      button.setPointerCapture(event.pointerId);
      button.classList.add('down');
      add('buttondown', name, []);
    });
    var up = function() {
      button.classList.remove('down');
      add('buttonup', name, []);
    };
    button.addEventListener('pointerup', up);
    button.addEventListener('pointercancel', up);
    button.addEventListener('contextmenu', function(event) {
      event.preventDefault();
    });
  });

  // The bar's Pause, Sound and Full screen are the player's P, M and F11.
  document.querySelectorAll('#bar [data-key]').forEach(function(button) {
    button.addEventListener('click', function() {
      add('keydown', button.dataset.key, [0, 0]);
      add('keyup', button.dataset.key, [0, 0]);
    });
  });

  document.addEventListener('visibilitychange', function() {
    add('visibilitychange', '', [document.hidden ? 1 : 0]);
  });
  document.addEventListener('fullscreenchange', function() {
    add('fullscreenchange', '', [document.fullscreenElement ? 1 : 0]);
  });
  window.addEventListener('blur', function() {
    add('blur', '', []);
  });
  var resized = function() {
    add('resize', '', PellaxScreen.stageSize());
  };
  if (window.ResizeObserver) {
    new ResizeObserver(resized).observe(stage);
  } else {
    window.addEventListener('resize', resized);
  }

  // Each pad connected, its buttons as bits by their place, and its left
  // stick.
  function pads() {
    var all = navigator.getGamepads ? navigator.getGamepads() : [];
    var read = [];
    for (var i = 0; i < all.length; ++i) {
      var pad = all[i];
      if (!pad || !pad.connected) continue;
      var buttons = 0;
      for (var b = 0; b < pad.buttons.length && b < 32; ++b) {
        if (pad.buttons[b].pressed) buttons |= 1 << b;
      }
      read.push({ slot: i, buttons: buttons >>> 0, x: pad.axes[0] || 0, y: pad.axes[1] || 0 });
    }
    return read;
  }

  // The program stays suspended until the time: the browser's turns on the
  // way pass without resuming it, since each resume and suspension costs the
  // program far more than a turn costs the browser. After a timer the wait
  // goes on in quick turns: a timer set from a timer's callback is held back
  // to 4 ms once they nest.
  function wait(ms, wakeUp) {
    PellaxStart.suspended();
    var until = performance.now() + ms;
    var done = function(now) {
      clearTimeout(timer);
      wake = null;
      if (now) return PellaxStart.resumeNow(wakeUp, 0);
      PellaxStart.resume(wakeUp, 0);
    };
    var look = function() {
      var left = until - performance.now();
      if (left <= 0) return done(true);
      if (left <= lead) return PellaxStart.quickTurn(look);
      var fireAt = until - lead;
      timer = setTimeout(function() {
        var late = performance.now() - fireAt;
        lead = Math.min(
            Math.max(lead - LEAD_EASING_MS, late + SHORTEST_LEAD_MS, SHORTEST_LEAD_MS),
            LONGEST_LEAD_MS);
        PellaxStart.quickTurn(look);
      }, left - lead);
    };
    wake = function() {
      done(false);
    };
    if (queue.length || ms <= 0) return done(false);
    look();
  }

  // The program is asked to end, as closing its window would.
  function close() {
    add('close', '', []);
  }

  return { next: next, pads: pads, wait: wait, close: close };
})();
