// The program's calls into the page (wince/web/page.js). Calls that wait
// suspend the program (Asyncify) and hand the browser its turn; the page
// resumes it when the wait is over.
mergeInto(LibraryManager.library, {
  pellax_now_ms: function () {
    return PellaxPage.now();
  },
  pellax_show: function (rgba) {
    PellaxPage.show(rgba ? HEAPU8.subarray(rgba, rgba + 240 * 320 * 4) : null);
  },
  pellax_take_input: function (out, most) {
    var list = PellaxPage.takeInput(most);
    for (var i = 0; i < list.length; ++i) {
      HEAP32[(out >> 2) + i * 3] = list[i].m;
      HEAP32[(out >> 2) + i * 3 + 1] = list[i].w;
      HEAP32[(out >> 2) + i * 3 + 2] = list[i].l;
    }
    return list.length;
  },
  pellax_wait: function (ms, wakeOnInput) {
    return Asyncify.handleSleep(function (wakeUp) {
      PellaxPage.wait(ms, wakeOnInput !== 0, wakeUp);
    });
  },
  pellax_sync: function () {
    return Asyncify.handleSleep(function (wakeUp) {
      PellaxPage.suspended();
      FS.syncfs(false, function (error) {
        PellaxPage.stored(error);
        PellaxPage.resume(wakeUp, 0);
      });
    });
  },
  pellax_mount__deps: ['$IDBFS'],
  pellax_mount: function (folder) {
    folder = UTF8ToString(folder);
    return Asyncify.handleSleep(function (wakeUp) {
      FS.mkdirTree(folder);
      if (!PellaxPage.hasStorage()) return wakeUp(0);
      try {
        FS.mount(IDBFS, {}, folder);
      } catch (e) {
        return wakeUp(0);
      }
      FS.syncfs(true, function (error) {
        if (error) FS.unmount(folder);
        wakeUp(error ? 0 : 1);
      });
    });
  },
  pellax_await_start: function () {
    return Asyncify.handleSleep(function (wakeUp) {
      PellaxPage.awaitStart(wakeUp);
    });
  },
  pellax_play: function (key, bytes, size) {
    // No bytes for a file the page already holds decoded.
    return PellaxPage.play(UTF8ToString(key), bytes ? HEAPU8.subarray(bytes, bytes + size) : null) ? 1 : 0;
  },
  pellax_stop_sound: function () {
    PellaxPage.stopSound();
  },
  pellax_message: function (text, caption, error) {
    text = UTF8ToString(text);
    caption = UTF8ToString(caption);
    return Asyncify.handleSleep(function (wakeUp) {
      PellaxPage.message(text, caption, error !== 0, wakeUp);
    });
  },
  pellax_notice: function (text) {
    PellaxPage.notice(UTF8ToString(text));
  },
  pellax_ended: function (code) {
    PellaxPage.ended(code);
  },
});
