// The stored folder: the program's files kept in the browser's storage
// (IndexedDB, through Emscripten's IDBFS), read back before the start and
// written back, all changes in one transaction, when the program asks.
/* global FS, IDBFS, PellaxScreen */
/* exported PellaxStorage */
var PellaxStorage = (function() {
  'use strict';
  var failed = false;

  function hasStorage() {
    try {
      return !!window.indexedDB;
    } catch (e) {
      return false;
    }
  }
  // done(true) when the folder is kept; without storage it lives in memory.
  function mount(folder, done) {
    FS.mkdirTree(folder);
    if (!hasStorage()) return done(false);
    try {
      FS.mount(IDBFS, {}, folder);
    } catch (e) {
      return done(false);
    }
    FS.syncfs(true, function(error) {
      if (error) FS.unmount(folder);
      done(!error);
    });
  }
  function store(done) {
    FS.syncfs(false, function(error) {
      if (error && !failed) {
        failed = true;
        console.warn('pellax-rim: the record could not be stored:', error);
        PellaxScreen.notice('The browser refused to store the files: the record may not be kept.');
      }
      done();
    });
  }

  return { mount: mount, store: store };
})();
