// The stored folder: the program's files kept in the browser's storage
// (IndexedDB, through Emscripten's IDBFS), read back before the start and
// written back, all changes in one transaction, when the program asks.
/* global FS, IDBFS, PellaxScreen */
/* exported PellaxStorage */
var PellaxStorage = (function() {
  'use strict';
  var kept = false, failed = false, storing = null, folderPath = null, changed = false;
  var pending = {};  // settings chosen before the folder was read
  // The page's own settings (the on-screen buttons shown or not), in the
  // stored folder beside the player's settings.conf, so that they are kept
  // and backed up as the record is: a line "name = value" each.
  var SETTINGS = 'page.conf';

  function hasStorage() {
    try {
      return !!window.indexedDB;
    } catch (e) {
      return false;
    }
  }
  // The folder's writes go to the disk before the browser reports them
  // done ('strict'), so that a record the player saw saved survives a power
  // cut. IDBFS lets a transaction whose write failed commit the others, and
  // never answers one the browser aborted (storage full): a failed write
  // here aborts the whole transaction, and the abort ends the store.
  function guard(folder) {
    var proto = IDBDatabase.prototype, open = proto.transaction;
    proto.transaction = function(stores, mode, options) {
      if (mode !== 'readwrite' || this.name !== folder) return open.apply(this, arguments);
      var transaction =
          open.call(this, stores, mode, Object.assign({ durability: 'strict' }, options));
      transaction.addEventListener('error', function() {
        try {
          transaction.abort();
        } catch (e) {
        }
      });
      transaction.addEventListener('abort', function() {
        if (storing) storing(transaction.error || new Error('the browser stopped the write'));
      });
      return transaction;
    };
  }
  // done(true) when the folder is kept; without storage it lives in memory.
  function mount(folder, done) {
    FS.mkdirTree(folder);
    var inMemory = function() {
      settingsAt(folder);
      done(false);
    };
    if (!hasStorage()) return inMemory();
    try {
      guard(folder);
      FS.mount(IDBFS, {}, folder);
    } catch (e) {
      return inMemory();
    }
    FS.syncfs(true, function(error) {
      if (error) FS.unmount(folder);
      kept = !error;
      settingsAt(folder);
      done(kept);
    });
  }
  function settingsAt(folder) {
    folderPath = folder;
    Object.keys(pending).forEach(function(name) {
      keep(name, pending[name]);
    });
    pending = {};
    PellaxScreen.settingsRead();
  }
  function readSettings() {
    var found = {};
    try {
      FS.readFile(folderPath + '/' + SETTINGS, { encoding: 'utf8' })
          .split('\n')
          .forEach(function(line) {
            var at = line.indexOf(' = ');
            if (at > 0) found[line.slice(0, at)] = line.slice(at + 3);
          });
    } catch (e) {
    }
    return found;
  }
  // A setting as last kept, or null; nothing before the folder is read.
  function setting(name) {
    var all = folderPath ? readSettings() : {};
    return Object.prototype.hasOwnProperty.call(all, name) ? all[name] : null;
  }
  // Written now, and stored at the program's next wait; chosen before the
  // folder is read, written once it is.
  function keep(name, value) {
    if (!folderPath) {
      pending[name] = value;
      return;
    }
    var all = readSettings();
    all[name] = value;
    var text = Object.keys(all)
                   .map(function(key) {
                     return key + ' = ' + all[key] + '\n';
                   })
                   .join('');
    try {
      FS.writeFile(folderPath + '/' + SETTINGS, text);
      changed = true;
    } catch (e) {
    }
  }
  // The transaction writes everything or nothing: what was stored before
  // stays whole, and the player can still take the files away in a backup.
  function store(done) {
    storing = function(error) {
      storing = null;
      if (error && !failed) {
        failed = true;
        console.warn('pellax-rim: the record could not be stored:', error);
        var full = error.name === 'QuotaExceededError';
        PellaxScreen.notice(
            'The record could not be kept: ' +
            (full ? "the browser's storage is full" : 'the browser refused it') +
            '. Back up keeps it in a file.');
        document.getElementById('backup').classList.add('urgent');
      }
      if (!error && failed) {
        failed = false;
        PellaxScreen.notice('');
      }
      done(!error);
    };
    FS.syncfs(false, function(error) {
      if (storing) storing(error);
    });
  }
  // Asked at the start tap, where browsers that grant it without asking
  // the player do; refused, the browser may clear the folder when short of
  // space.
  function askToKeep() {
    if (!kept || !navigator.storage || !navigator.storage.persist) return;
    navigator.storage.persist().then(
        function(granted) {
          if (!granted) {
            PellaxScreen.notice(
                'This browser may clear the record when it runs short of space: ' +
                'install the page or back it up.');
          }
        },
        function() {});
  }

  return {
    mount: mount,
    store: store,
    askToKeep: askToKeep,
    kept: function() {
      return kept;
    },
    setting: setting,
    keep: keep,
    // Whether a setting was written since the last ask.
    takeChanged: function() {
      var was = changed;
      changed = false;
      return was;
    },
  };
})();
