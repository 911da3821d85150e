// The program's calls into the page (start.js, screen.js, input.js,
// sound.js, storage.js, put before the program with --pre-js). Calls that
// wait suspend the program (Asyncify) and hand the browser its turn; the
// page resumes it when the wait is over.
/* eslint-env browser */
/* global HEAPF64, HEAP16, stringToUTF8 */
/* global PellaxStart, PellaxScreen, PellaxInput, PellaxSound, PellaxStorage, PellaxReplays */
mergeInto(LibraryManager.library, {
  pellax_now_ms: function() {
    return performance.now();
  },
  // Texts are cut to their room, numbers to count.
  pellax_next_event: function(kind, kindSize, name, nameSize, numbers, count) {
    var event = PellaxInput.next();
    if (!event) return 0;
    stringToUTF8(event.kind, kind, kindSize);
    stringToUTF8(event.name, name, nameSize);
    for (var i = 0; i < count; ++i) HEAPF64[(numbers >> 3) + i] = event.numbers[i] || 0;
    return 1;
  },
  // Each pad as host.cpp's PadRecord: slot, buttons, stick x, stick y.
  pellax_read_pads: function(records, most) {
    var pads = PellaxInput.pads().slice(0, most);
    pads.forEach(function(pad, i) {
      var at = (records >> 3) + i * 4;
      HEAPF64[at] = pad.slot;
      HEAPF64[at + 1] = pad.buttons;
      HEAPF64[at + 2] = pad.x;
      HEAPF64[at + 3] = pad.y;
    });
    return pads.length;
  },
  pellax_stage_size: function(out) {
    var size = PellaxScreen.stageSize();
    HEAP32[out >> 2] = size[0];
    HEAP32[(out >> 2) + 1] = size[1];
  },
  pellax_wait: function(ms) {
    return Asyncify.handleSleep(function(wakeUp) {
      PellaxInput.wait(ms, wakeUp);
    });
  },
  pellax_show: function(rgba, size, x, y, w, h) {
    PellaxScreen.show(HEAPU8.subarray(rgba, rgba + size), x, y, w, h);
  },
  pellax_presented: function() {
    PellaxStart.presented();
  },
  pellax_title: function(title) {
    PellaxScreen.title(UTF8ToString(title));
  },
  pellax_full_screen: function(full) {
    PellaxScreen.fullScreen(full !== 0);
  },
  // No samples for a wave the page already holds.
  pellax_play: function(id, samples, count, channels, rate) {
    var view = samples ? HEAP16.subarray(samples >> 1, (samples >> 1) + count) : null;
    PellaxSound.play(id, view, channels, rate);
  },
  pellax_sound: function(volume, paused) {
    PellaxSound.set(volume, paused !== 0);
  },
  pellax_settings_changed: function() {
    return PellaxStorage.takeChanged() ? 1 : 0;
  },
  pellax_sync: function() {
    return Asyncify.handleSleep(function(wakeUp) {
      PellaxStart.suspended();
      PellaxStorage.store(function() {
        PellaxStart.resume(wakeUp, 0);
      });
    });
  },
  pellax_mount__deps: ['$IDBFS'],
  pellax_mount: function(folder) {
    folder = UTF8ToString(folder);
    return Asyncify.handleSleep(function(wakeUp) {
      PellaxStorage.mount(folder, function(kept) {
        wakeUp(kept ? 1 : 0);
      });
    });
  },
  pellax_await_start: function() {
    return Asyncify.handleSleep(function(wakeUp) {
      PellaxStart.awaitStart(wakeUp);
    });
  },
  pellax_message: function(text, caption, error) {
    text = UTF8ToString(text);
    caption = UTF8ToString(caption);
    return Asyncify.handleSleep(function(wakeUp) {
      PellaxScreen.message(text, caption, error !== 0, wakeUp);
    });
  },
  pellax_notice: function(text) {
    PellaxScreen.notice(UTF8ToString(text));
  },
  pellax_build: function(mark) {
    PellaxStart.checkBuild(UTF8ToString(mark));
  },
  pellax_keys: function(text) {
    PellaxScreen.keys(UTF8ToString(text));
  },
  pellax_ended: function(code) {
    PellaxStart.ended(code);
  },
  // A replay file chosen before this start, put where the program reads it.
  pellax_take_replay: function(path) {
    var bytes = PellaxReplays.take();
    if (!bytes) return 0;
    FS.writeFile(UTF8ToString(path), bytes);
    return 1;
  },
});
