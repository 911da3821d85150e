// Back up and Restore: the player's files of the stored folder (the
// record, the settings, replays) in one small file, and back. The file is
// a header naming it, the length of what follows, its SHA-256, then each
// file as its path's length (2 bytes), its path, its length (4 bytes) and
// its bytes, little-endian. A file is checked whole before anything is
// written. The installation is left out: the game makes it again.
/* global FS, PellaxInput, PellaxScreen, PellaxStart, PellaxStorage */
(function() {
'use strict';
var FOLDER = '/pellax-rim', HEADER = 'PELLAX RIM BACKUP 1\n', HEAD = HEADER.length + 36;
// What the game makes again (assets/installation.cpp) and the lock file.
var MADE_AGAIN =
    ['root/Program Files', 'root/Windows', 'root/registry.reg', 'root/pellax-rim.lock'];
var $ = function(id) {
  return document.getElementById(id);
};

// The paths of the player's files, below the folder.
function playerFiles(below) {
  var found = [];
  below = below || '';
  var at = FOLDER + (below ? '/' + below : '');
  if (!FS.analyzePath(at).exists) return found;
  FS.readdir(at).forEach(function(name) {
    var path = below ? below + '/' + name : name;
    if (name === '.' || name === '..' || MADE_AGAIN.indexOf(path) >= 0) return;
    var isFolder = FS.isDir(FS.stat(FOLDER + '/' + path).mode);
    found = found.concat(isFolder ? playerFiles(path) : [path]);
  });
  return found;
}
function digest(bytes) {
  return crypto.subtle.digest('SHA-256', bytes).then(function(d) {
    return new Uint8Array(d);
  });
}
function pack() {
  var parts = [], text = new TextEncoder();
  playerFiles().forEach(function(path) {
    var name = text.encode(path), bytes = FS.readFile(FOLDER + '/' + path);
    var sizes = new DataView(new ArrayBuffer(6));
    sizes.setUint16(0, name.length, true);
    sizes.setUint32(2, bytes.length, true);
    parts.push(new Uint8Array(sizes.buffer, 0, 2), name, new Uint8Array(sizes.buffer, 2), bytes);
  });
  return new Blob(parts).arrayBuffer().then(function(body) {
    return digest(body).then(function(sum) {
      var length = new DataView(new ArrayBuffer(4));
      length.setUint32(0, body.byteLength, true);
      return new Blob([HEADER, length, sum, body], { type: 'application/octet-stream' });
    });
  });
}
// The files of a backup, or an Error saying what is wrong with it.
function unpack(buffer) {
  var bytes = new Uint8Array(buffer), view = new DataView(buffer);
  var header = new TextDecoder().decode(bytes.subarray(0, HEADER.length));
  if (header !== HEADER) return Promise.reject(new Error('this is no PELLAX RIM backup'));
  if (bytes.length < HEAD || view.getUint32(HEADER.length, true) !== bytes.length - HEAD)
    return Promise.reject(new Error('the backup is cut short or too long'));
  var body = bytes.subarray(HEAD), sum = bytes.subarray(HEADER.length + 4, HEAD);
  return digest(body).then(function(actual) {
    if (actual.some(function(b, i) {
          return b !== sum[i];
        }))
      throw new Error('the backup is damaged (its checksum differs)');
    var files = [], at = HEAD, text = new TextDecoder();
    while (at < bytes.length) {
      var nameLength = view.getUint16(at, true),
          name = text.decode(bytes.subarray(at + 2, at + 2 + nameLength));
      var size = view.getUint32(at + 2 + nameLength, true), start = at + 6 + nameLength;
      if (start + size > bytes.length || /(^|\/)\.\.?(\/|$)|^\//.test(name))
        throw new Error('the backup is damaged');
      files.push({ path: name, bytes: bytes.slice(start, start + size) });
      at = start + size;
    }
    return files;
  });
}

function backUp() {
  pack().then(function(blob) {
    var link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = 'pellax-rim-' + new Date().toISOString().slice(0, 10) + '.pellax';
    link.click();
    setTimeout(function() {
      URL.revokeObjectURL(link.href);
    }, 10000);
    $('backup').classList.remove('urgent');
  });
}
// The running program would save its own record over the restored one
// as it closes: it is ended first, then the files are written in one
// transaction and the page starts again, so that the program reads them.
function endProgram() {
  if (PellaxStart.playing()) PellaxInput.close();
  return new Promise(function(done, fail) {
    var waited = 0,
        look = setInterval(function() {
          if (PellaxStart.playing() && (waited += 100) < 5000) return;
          clearInterval(look);
          return PellaxStart.playing() ? fail(new Error('the game did not end')) : done();
        }, 100);
  });
}
function write(files) {
  var wanted = files.map(function(file) {
    return file.path;
  });
  playerFiles().forEach(function(path) {
    if (wanted.indexOf(path) < 0) FS.unlink(FOLDER + '/' + path);
  });
  files.forEach(function(file) {
    var path = FOLDER + '/' + file.path;
    FS.mkdirTree(path.slice(0, path.lastIndexOf('/')));
    FS.writeFile(path, file.bytes);
  });
  return new Promise(function(done, fail) {
    PellaxStorage.store(function(stored) {
      return stored ? done() : fail(new Error('the browser refused to store it'));
    });
  });
}
function restore(file) {
  if (!PellaxStorage.kept()) {
    PellaxScreen.notice('Not restored: this browser keeps no files here.');
    return;
  }
  file.arrayBuffer()
      .then(unpack)
      .then(function(files) {
        return endProgram().then(function() {
          return write(files);
        });
      })
      .then(
          function() {
            location.reload();
          },
          function(error) {
            PellaxScreen.notice('Not restored: ' + error.message + '. Nothing was changed.');
          });
}

// The replays' page ends the program the same way before it restarts.
window.PellaxEndProgram = endProgram;
$('backup').addEventListener('click', backUp);
$('restore').addEventListener('click', function() {
  $('restore-file').click();
});
$('restore-file').addEventListener('change', function(event) {
  var file = event.target.files[0];
  event.target.value = '';
  if (file) restore(file);
});
})();
