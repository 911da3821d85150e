// The page around the game: the screen on a canvas, input (keyboard,
// pointer, game pads, the handheld's buttons on touch screens), sound, the
// message dialog, the start and end screens, and the figures the browser
// test reads (window.pellaxStats).
'use strict';

var PellaxPage = (function () {
  var WIDTH = 240, HEIGHT = 320;
  var KEY_DOWN = 0x100, KEY_UP = 0x101, STYLUS_MOVE = 0x200, STYLUS_DOWN = 0x201, STYLUS_UP = 0x202;
  var FIRST_DOWN = 1, REPEAT_DOWN = 1 | (1 << 30), GOING_UP = REPEAT_DOWN | (1 << 31);
  // A click, a tap or a key struck by a program may be shorter than a frame;
  // the game sees only what is still down when a frame runs.
  var SHORTEST_PRESS_MS = 60;
  // A held button of the page or of a pad repeats as a held key does.
  var REPEAT_DELAY_MS = 300, REPEAT_EVERY_MS = 50;
  var PAD_POLL_MS = 20;
  // Timers may fire a millisecond late, and a frame that starts late starts
  // the next one late too: the wait ends this early, and the rest passes in
  // quick turns of the browser.
  var TIMER_LEAD_MS = 1.5;
  var KEYS = {
    ArrowUp: 38, ArrowDown: 40, ArrowLeft: 37, ArrowRight: 39, Space: 195,
    KeyZ: 196, ControlLeft: 196, Enter: 196, NumpadEnter: 196, KeyX: 197, Tab: 197,
  };
  // Standard game pad layout: d-pad, A, B, Start.
  var PAD_BUTTONS = { 12: 38, 13: 40, 14: 37, 15: 39, 0: 195, 1: 196, 9: 197 };

  var $ = function (id) { return document.getElementById(id); };
  var canvas = $('screen'), context = canvas.getContext('2d');
  var picture = context.createImageData(WIDTH, HEIGHT);
  var queue = [], pressedAt = {}, held = {}, padState = {};
  var stylusDown = false, touchedAt = 0, started = false, over = false;
  var wake = null, timer = 0, channel = new MessageChannel(), resumeWith = null;
  var audio = null, gain = null, playing = null, sounds = new Map(), muted = false;
  var storeFailed = false;
  var stats = (window.pellaxStats = { gestureAt: 0, firstFrameAt: 0, pictures: 0, busyMs: 0, since: 0 });
  var resumedAt = 0;
  // The device's clock stands still while the page is hidden (another tab,
  // the phone's home screen), as the desktop's does while it is paused:
  // the game goes on where it stood.
  var hiddenAt = 0, hiddenFor = 0;
  function deviceNow() {
    return (hiddenAt || performance.now()) - hiddenFor;
  }
  document.addEventListener('visibilitychange', function () {
    if (document.hidden && !hiddenAt) {
      hiddenAt = performance.now();
      if (audio) audio.suspend();
    } else if (!document.hidden && hiddenAt) {
      hiddenFor += performance.now() - hiddenAt;
      hiddenAt = 0;
      if (audio) audio.resume();
    }
  });

  // A resume always comes from a message, never straight from a timer: a
  // timer set from a timer's callback is held back to 4 ms and more once
  // such calls nest, which would make every frame late.
  channel.port1.onmessage = function () {
    var go = resumeWith;
    resumeWith = null;
    if (!go) return;
    resumedAt = performance.now();
    go();
  };
  function resume(wakeUp, value) {
    resumeWith = function () { wakeUp(value); };
    channel.port2.postMessage(0);
  }
  function suspended() {
    if (resumedAt) stats.busyMs += performance.now() - resumedAt;
    resumedAt = 0;
  }

  function post(m, w, l, at) {
    if (started && !over) queue.push({ m: m, w: w, l: l | 0, at: at || 0 });
    if (wake) wake();
  }
  function press(code, repeats) {
    if (held[code]) return;
    var now = performance.now();
    pressedAt[code] = now;
    held[code] = repeats ? now + REPEAT_DELAY_MS : Infinity;
    post(KEY_DOWN, code, FIRST_DOWN);
  }
  function release(code) {
    if (!held[code]) return;
    delete held[code];
    post(KEY_UP, code, GOING_UP, pressedAt[code] + SHORTEST_PRESS_MS);
  }
  function repeatHeld(now) {
    for (var code in held) {
      if (held[code] > now) continue;
      held[code] = now + REPEAT_EVERY_MS;
      post(KEY_DOWN, +code, REPEAT_DOWN);
    }
  }
  function nextRepeat() {
    var next = Infinity;
    for (var code in held) next = Math.min(next, held[code]);
    return next;
  }
  function pollPads() {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    var any = false;
    for (var i = 0; i < pads.length; ++i) {
      var pad = pads[i];
      if (!pad || !pad.connected) continue;
      any = true;
      var down = {};
      for (var b in PAD_BUTTONS) if (pad.buttons[b] && pad.buttons[b].pressed) down[PAD_BUTTONS[b]] = true;
      if (pad.axes.length >= 2) {
        if (pad.axes[0] < -0.5) down[37] = true;
        if (pad.axes[0] > 0.5) down[39] = true;
        if (pad.axes[1] < -0.5) down[38] = true;
        if (pad.axes[1] > 0.5) down[40] = true;
      }
      var was = padState[i] || {};
      for (var code in down) if (!was[code]) press(+code, true);
      for (code in was) if (!down[code]) release(+code);
      padState[i] = down;
    }
    return any;
  }

  // Messages go to the game in the order they came; one that must wait
  // holds back those behind it. A release waits for a frame to see its
  // press, however long the program was busy (storing the record, say)
  // while both came.
  function takeInput(most) {
    var now = performance.now();
    pollPads();
    repeatHeld(now);
    var n = 0;
    while (n < queue.length && n < most && queue[n].at <= now) {
      var press = queue[n++];
      if (press.m !== KEY_DOWN && press.m !== STYLUS_DOWN) continue;
      var lift = press.m === KEY_DOWN ? KEY_UP : STYLUS_UP;
      for (var k = n; k < queue.length; ++k) {
        if (queue[k].m !== lift || (lift === KEY_UP && queue[k].w !== press.w)) continue;
        queue[k].at = Math.max(queue[k].at, now + SHORTEST_PRESS_MS);
        break;
      }
    }
    return queue.splice(0, n);
  }
  function wait(ms, wakeOnInput, wakeUp) {
    suspended();
    var done = function () {
      clearTimeout(timer);
      wake = null;
      resume(wakeUp, 0);
    };
    if (wakeOnInput) {
      var now = performance.now();
      if (pollPads()) ms = Math.min(ms, PAD_POLL_MS);
      ms = Math.max(0, Math.min(ms, nextRepeat() - now));
      if (queue.length) ms = Math.max(0, Math.min(ms, queue[0].at - now));
      if (queue.length && queue[0].at <= now) return done();
      wake = done;
    }
    ms -= TIMER_LEAD_MS;
    if (ms > 0) timer = setTimeout(done, ms);
    else done();
  }

  function toScreen(event, clamp) {
    var box = canvas.getBoundingClientRect();
    var x = Math.floor(((event.clientX - box.left) * WIDTH) / box.width);
    var y = Math.floor(((event.clientY - box.top) * HEIGHT) / box.height);
    var inside = x >= 0 && y >= 0 && x < WIDTH && y < HEIGHT;
    if (!inside && !clamp) return null;
    x = Math.min(Math.max(x, 0), WIDTH - 1);
    y = Math.min(Math.max(y, 0), HEIGHT - 1);
    return (x & 0xffff) | (y << 16);
  }
  canvas.addEventListener('pointerdown', function (event) {
    if (event.button !== 0 || stylusDown) return;
    var at = toScreen(event, false);
    if (at === null) return;
    event.preventDefault();
    canvas.setPointerCapture(event.pointerId);
    stylusDown = true;
    touchedAt = performance.now();
    post(STYLUS_DOWN, 1, at);
  });
  canvas.addEventListener('pointermove', function (event) {
    if (stylusDown) post(STYLUS_MOVE, 1, toScreen(event, true));
  });
  function lift(event) {
    if (!stylusDown) return;
    stylusDown = false;
    post(STYLUS_UP, 0, toScreen(event, true), touchedAt + SHORTEST_PRESS_MS);
  }
  canvas.addEventListener('pointerup', lift);
  canvas.addEventListener('pointercancel', lift);

  window.addEventListener('keydown', function (event) {
    if (!started || over || $('message').open) return;
    if (event.code === 'KeyM' && !event.repeat) return toggleMute();
    var code = KEYS[event.code];
    if (code === undefined) return;
    event.preventDefault();
    if (event.repeat) return post(KEY_DOWN, code, REPEAT_DOWN);
    pressedAt[code] = performance.now();
    post(KEY_DOWN, code, FIRST_DOWN);
  });
  window.addEventListener('keyup', function (event) {
    var code = KEYS[event.code];
    if (code === undefined || !started) return;
    event.preventDefault();
    post(KEY_UP, code, GOING_UP, (pressedAt[code] || 0) + SHORTEST_PRESS_MS);
  });

  // The handheld's buttons under the screen: a finger on one is the key held.
  document.querySelectorAll('#pad [data-key]').forEach(function (button) {
    var code = +button.dataset.key;
    button.addEventListener('pointerdown', function (event) {
      event.preventDefault();
      button.setPointerCapture(event.pointerId);
      button.classList.add('down');
      press(code, true);
    });
    var up = function () {
      button.classList.remove('down');
      release(code);
    };
    button.addEventListener('pointerup', up);
    button.addEventListener('pointercancel', up);
    button.addEventListener('contextmenu', function (event) { event.preventDefault(); });
  });
  var touch = navigator.maxTouchPoints > 0 || matchMedia('(any-pointer: coarse)').matches;
  function showPad(shown) {
    document.body.classList.toggle('with-pad', shown);
    $('pad-toggle').textContent = shown ? 'Hide buttons' : 'Show buttons';
    try { localStorage.setItem('pellax-rim-pad', shown ? 'shown' : 'hidden'); } catch (e) {}
    layout();
  }
  $('pad-toggle').addEventListener('click', function () {
    showPad(!document.body.classList.contains('with-pad'));
  });

  // As large as the page allows, by whole factors of device pixels so that
  // every pixel of the handheld is a crisp square; only a page narrower than
  // the screen itself gets a fraction.
  function layout() {
    var dpr = window.devicePixelRatio || 1;
    var room = $('stage').getBoundingClientRect();
    var width = Math.max(room.width, 1), height = Math.max(room.height, 1);
    var factor = Math.floor(Math.min((width * dpr) / WIDTH, (height * dpr) / HEIGHT));
    var scale = factor >= 1 ? factor / dpr : Math.min(width / WIDTH, height / HEIGHT);
    canvas.style.width = WIDTH * scale + 'px';
    canvas.style.height = HEIGHT * scale + 'px';
  }
  window.addEventListener('resize', layout);

  function show(rgba) {
    if (!stats.firstFrameAt) stats.firstFrameAt = performance.now();
    ++stats.pictures;
    if (!rgba) return;
    picture.data.set(rgba);
    context.putImageData(picture, 0, 0);
  }

  // A RIFF WAVE file of 8- or 16-bit PCM, as the handheld plays; also one
  // that starts at "WAVE" without the RIFF header. A chunk that claims more
  // than the file holds is cut to what is there.
  function decodeWave(bytes) {
    var view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    var tag = function (at) { return String.fromCharCode(bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]); };
    var at = bytes.length >= 4 && tag(0) === 'WAVE' ? 4 : 12;
    if (at === 12 && (bytes.length < 12 || tag(0) !== 'RIFF' || tag(8) !== 'WAVE')) return null;
    var format = null;
    while (at + 8 <= bytes.length) {
      var size = Math.min(view.getUint32(at + 4, true), bytes.length - at - 8);
      if (tag(at) === 'fmt ' && size >= 16) {
        format = { kind: view.getUint16(at + 8, true), channels: view.getUint16(at + 10, true),
                   rate: view.getUint32(at + 12, true), bits: view.getUint16(at + 22, true) };
      } else if (tag(at) === 'data' && format) {
        var wide = format.bits === 16;
        if (format.kind !== 1 || (format.bits !== 8 && !wide) || format.channels < 1 ||
            format.rate < 3000 || format.rate > 384000) return null;
        var frames = Math.floor(size / ((format.bits / 8) * format.channels));
        if (frames < 1) return null;
        var buffer = audio ? audio.createBuffer(format.channels, frames, format.rate) : null;
        for (var c = 0; buffer && c < format.channels; ++c) {
          var out = buffer.getChannelData(c);
          for (var i = 0; i < frames; ++i) {
            var p = at + 8 + (i * format.channels + c) * (format.bits / 8);
            out[i] = wide ? view.getInt16(p, true) / 32768 : (bytes[p] - 128) / 128;
          }
        }
        return buffer || true;
      }
      at += 8 + size + (size & 1);
    }
    return null;
  }
  function stopSound() {
    if (playing) playing.stop();
    playing = null;
  }
  // Decoded once and kept by the file's path; a new sound cuts off the one
  // playing, as on the handheld.
  function play(key, bytes) {
    if (!sounds.has(key)) sounds.set(key, bytes ? decodeWave(bytes) : null);
    var buffer = sounds.get(key);
    stopSound();
    if (!buffer) return false;
    if (buffer === true || !audio) return true;
    playing = audio.createBufferSource();
    playing.buffer = buffer;
    playing.connect(gain);
    playing.start();
    return true;
  }
  function toggleMute() {
    muted = !muted;
    if (gain) gain.gain.value = muted ? 0 : 1;
    notice(muted ? 'Sound off (M turns it on).' : 'Sound on.');
  }

  function message(text, caption, error, wakeUp) {
    suspended();
    var dialog = $('message');
    $('message-caption').textContent = caption;
    $('message-text').textContent = text;
    dialog.classList.toggle('error', error);
    dialog.onclose = function () { resume(wakeUp, 0); };
    dialog.showModal();
  }
  function notice(text) {
    $('notice').textContent = text;
  }
  function stored(error) {
    if (!error || storeFailed) return;
    storeFailed = true;
    console.warn('pellax-rim: the record could not be stored:', error);
    notice('The browser refused to store the files: the record may not be kept.');
  }
  function ended(code) {
    over = true;
    stopSound();
    $('ended-text').textContent = code === 0 ? 'PELLAX RIM has ended.' : 'PELLAX RIM could not go on.';
    document.body.classList.add('ended');
  }
  $('again').addEventListener('click', function () { location.reload(); });

  // The tap or key that starts the program also starts sound: browsers
  // play nothing before a gesture. One page plays from the stored folder
  // at a time (a second tab would overwrite the first one's record).
  function awaitStart(wakeUp) {
    var go = function (event) {
      if (started) return;
      event.preventDefault();
      event.stopPropagation();  // the gesture is the page's, not the game's
      started = true;
      stats.gestureAt = performance.now();
      var Context = window.AudioContext || window.webkitAudioContext;
      if (Context) {
        audio = new Context();
        gain = audio.createGain();
        gain.connect(audio.destination);
        audio.resume();
      }
      document.body.classList.remove('waiting');
      window.removeEventListener('pointerdown', go, true);
      window.removeEventListener('keydown', go, true);
      layout();
      resumedAt = performance.now();
      wakeUp(0);
    };
    var ready = function () {
      document.body.classList.add('waiting');
      window.addEventListener('pointerdown', go, true);
      window.addEventListener('keydown', go, true);
    };
    if (!navigator.locks) return ready();
    navigator.locks.request('pellax-rim-folder', { ifAvailable: true }, function (lock) {
      if (!lock) {
        $('ended-text').textContent = 'PELLAX RIM is already running with this folder (another tab).';
        document.body.classList.add('ended');
        return;
      }
      ready();
      return new Promise(function () {});  // held while the page lives
    });
  }

  function hasStorage() {
    try {
      return !!window.indexedDB;
    } catch (e) {
      return false;
    }
  }

  var saved = null;
  try { saved = localStorage.getItem('pellax-rim-pad'); } catch (e) {}
  showPad(saved ? saved === 'shown' : touch);
  if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(function () {});

  return {
    now: deviceNow, show: show, takeInput: takeInput, wait: wait, resume: resume, suspended: suspended,
    stored: stored, hasStorage: hasStorage, awaitStart: awaitStart, play: play,
    stopSound: stopSound, message: message, notice: notice, ended: ended,
  };
})();
