// Replays the page keeps in its stored folder: the last run's and the run's
// that set the record, each offered for download deflated, as every build
// writes replay files. A replay file chosen or dropped on the page is played
// after a restart, the running program ended first (it saves its record as
// it closes).
/* global FS, PellaxScreen, PellaxEndProgram, CompressionStream, DecompressionStream */
/* exported PellaxReplays */
var PellaxReplays = (function() {
  'use strict';
  var folder = '/pellax-rim/root/replays';
  var waiting = 'pellax-rim-replay';
  var headerBytes = 24;
  var $ = function(id) {
    return document.getElementById(id);
  };

  function through(bytes, stream) {
    return new Response(new Blob([bytes]).stream().pipeThrough(stream))
        .arrayBuffer()
        .then(function(buffer) {
          return new Uint8Array(buffer);
        });
  }

  function lastRun() {
    var runs = [];
    try {
      runs = FS.readdir(folder).filter(function(name) {
        return /^run-.*\.pxr$/.test(name);
      });
    } catch (e) {
      // no replays yet
    }
    return runs.sort().pop();
  }

  // The stored file is the body as it is; the download is deflated.
  function download(name, saveAs) {
    var bytes;
    try {
      bytes = FS.readFile(folder + '/' + name);
    } catch (e) {
      PellaxScreen.notice('No such replay has been kept yet.');
      return;
    }
    var header = bytes.slice(0, headerBytes);
    var body = bytes.subarray(headerBytes);
    var packed =
        header[10] & 1 ? Promise.resolve(body) : through(body, new CompressionStream('deflate'));
    packed.then(function(deflated) {
      header[10] |= 1;
      var link = document.createElement('a');
      link.href = URL.createObjectURL(new Blob([header, deflated]));
      link.download = saveAs;
      link.click();
      setTimeout(function() {
        URL.revokeObjectURL(link.href);
      }, 1000);
    });
  }

  // The file as the program reads it: the body inflated here.
  function stored(bytes) {
    if (bytes.length < headerBytes || !(bytes[10] & 1)) return Promise.resolve(bytes);
    return through(bytes.subarray(headerBytes), new DecompressionStream('deflate'))
        .then(
            function(body) {
              var file = new Uint8Array(headerBytes + body.length);
              file.set(bytes.subarray(0, headerBytes));
              file[10] &= ~1;
              file.set(body, headerBytes);
              return file;
            },
            function() {
              throw new Error('it is damaged or cut short');
            });
  }

  function watch(file) {
    file.arrayBuffer()
        .then(function(buffer) {
          return stored(new Uint8Array(buffer));
        })
        .then(function(bytes) {
          var text = '';
          for (var i = 0; i < bytes.length; i += 32768)
            text += String.fromCharCode.apply(null, bytes.subarray(i, i + 32768));
          sessionStorage.setItem(waiting, btoa(text));
          return PellaxEndProgram();
        })
        .then(
            function() {
              location.reload();
            },
            function(error) {
              PellaxScreen.notice('This replay cannot be played: ' + error.message + '.');
            });
  }

  $('last-replay').addEventListener('click', function() {
    var name = lastRun();
    if (name)
      download(name, 'pellax-rim-' + name);
    else
      PellaxScreen.notice('No replay has been kept yet.');
  });
  $('record-replay').addEventListener('click', function() {
    download('record.pxr', 'pellax-rim-record.pxr');
  });
  $('watch').addEventListener('click', function() {
    $('watch-file').click();
  });
  $('watch-file').addEventListener('change', function(event) {
    var file = event.target.files[0];
    event.target.value = '';
    if (file) watch(file);
  });
  document.addEventListener('dragover', function(event) {
    event.preventDefault();
  });
  document.addEventListener('drop', function(event) {
    event.preventDefault();
    var file = event.dataTransfer.files[0];
    if (file) watch(file);
  });

  return {
    // The replay chosen before this start, once.
    take: function() {
      var text = sessionStorage.getItem(waiting);
      if (!text) return null;
      sessionStorage.removeItem(waiting);
      var binary = atob(text);
      var bytes = new Uint8Array(binary.length);
      for (var i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
      return bytes;
    },
  };
})();
