// The page's start and end: the tap or key that starts the program and its
// sound, one tab at a time, the end screen, the service worker; and the
// program's turns (suspended while the browser has its own, resumed after).
// window.pellaxStats holds the figures the browser test reads.
/* global PellaxSound, PellaxStorage, PELLAX_BUILD, abort */
/* exported PellaxStart */
var PellaxStart = (function() {
  'use strict';
  var $ = function(id) {
    return document.getElementById(id);
  };
  var stats =
      (window.pellaxStats = { gestureAt: 0, firstFrameAt: 0, pictures: 0, sounds: 0, busyMs: 0 });
  var started = false, over = false;
  var channel = new MessageChannel(), soon = null, resumedAt = 0;

  // A quick turn comes from a message, never straight from a timer: a timer
  // set from a timer's callback is held back to 4 ms and more once such
  // calls nest, which would make every frame late. The busy time counts
  // the whole turn: the program's run, and the page's own work for a wait.
  channel.port1.onmessage = function() {
    var go = soon, from = performance.now(), before = stats.busyMs;
    soon = null;
    if (!go) return;
    go();
    stats.busyMs = before + performance.now() - from;
    resumedAt = 0;
  };
  function quickTurn(then) {
    soon = then;
    channel.port2.postMessage(0);
  }
  // Resumed here, the program runs now; from a timer, after a quick turn.
  function resumeNow(wakeUp, value) {
    resumedAt = performance.now();
    wakeUp(value);
  }
  function resume(wakeUp, value) {
    quickTurn(function() {
      resumeNow(wakeUp, value);
    });
  }
  function suspended() {
    if (resumedAt) stats.busyMs += performance.now() - resumedAt;
    resumedAt = 0;
  }
  function presented() {
    if (!stats.firstFrameAt) stats.firstFrameAt = performance.now();
    ++stats.pictures;
  }

  // The tap or key that starts the program also starts sound: browsers
  // play nothing before a gesture. One page plays from the stored folder
  // at a time (a second tab would overwrite the first one's record).
  function awaitStart(wakeUp) {
    var go = function(event) {
      // The bar's buttons work before a game as well.
      if (started || (event.target.closest && event.target.closest('#bar'))) return;
      event.preventDefault();
      event.stopPropagation();  // the gesture is the page's, not the game's
      started = true;
      stats.gestureAt = performance.now();
      PellaxSound.begin();
      PellaxStorage.askToKeep();
      document.body.classList.remove('waiting');
      window.removeEventListener('pointerdown', go, true);
      window.removeEventListener('keydown', go, true);
      resumedAt = performance.now();
      wakeUp(0);
    };
    var ready = function() {
      document.body.classList.add('waiting');
      window.addEventListener('pointerdown', go, true);
      window.addEventListener('keydown', go, true);
    };
    if (!navigator.locks) return ready();
    navigator.locks.request('pellax-rim-folder', { ifAvailable: true }, function(lock) {
      if (!lock) {
        $('ended-text').textContent =
            'PELLAX RIM is already running with this folder (another tab).';
        document.body.classList.add('ended');
        return;
      }
      ready();
      return new Promise(function() {});  // held while the page lives
    });
  }
  function ended(code) {
    over = true;
    PellaxSound.play(0);
    $('ended-text').textContent =
        code === 0 ? 'PELLAX RIM has ended.' : 'PELLAX RIM could not go on.';
    document.body.classList.add('ended');
  }
  $('again').addEventListener('click', function() {
    location.reload();
  });
  // The script and the module must be of one build; the service worker
  // never mixes them, and a page that finds them mixed stops at once.
  function checkBuild(mark) {
    stats.build = mark;
    if (mark !== PELLAX_BUILD) abort('its files are of two builds: reload the page');
  }

  // A new build, installed whole, waits until the player takes it with
  // the bar's Reload: the running game keeps its own build till then.
  function offer(worker) {
    $('update').hidden = false;
    $('reload').onclick = function() {
      reloading = true;
      worker.postMessage('take-over');
    };
  }
  var reloading = false;
  if ('serviceWorker' in navigator) {
    var workers = navigator.serviceWorker;
    workers.addEventListener('controllerchange', function() {
      if (reloading) location.reload();
    });
    workers.register('sw.js')
        .then(function(registration) {
          var installed = function(worker) {
            if (worker && workers.controller) offer(worker);
          };
          installed(registration.waiting);
          registration.addEventListener('updatefound', function() {
            var worker = registration.installing;
            worker.addEventListener('statechange', function() {
              if (worker.state === 'installed') installed(worker);
            });
          });
        })
        .catch(function() {});
  }

  return {
    stats: stats,
    quickTurn: quickTurn,
    resume: resume,
    resumeNow: resumeNow,
    suspended: suspended,
    presented: presented,
    awaitStart: awaitStart,
    ended: ended,
    checkBuild: checkBuild,
    // Between the start and the end the program takes the page's input.
    playing: function() {
      return started && !over;
    },
  };
})();
