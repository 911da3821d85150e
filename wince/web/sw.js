// Keeps the page for play without a network, one build at a time. The
// build's files and their SHA-256 are written in below when the page is put
// together (stamp_page.js), so every build has a worker of its own bytes and
// a cache of its own name. A new build is installed whole or not at all:
// Emscripten's script and module work only with their own build's, so a
// file that fails, or comes with other bytes than this build's, fails the
// install, and the next visit tries again. The page running the old build
// keeps its cache until the player takes the new one.
'use strict';
/* global crypto */

var BUILD = '@BUILD@';
var FILES = JSON.parse('@FILES@');  // name: SHA-256 in hex
var CACHE = 'pellax-rim-' + BUILD;

function hex(buffer) {
  return Array
      .from(
          new Uint8Array(buffer),
          function(b) {
            return (b + 256).toString(16).slice(1);
          })
      .join('');
}
function fetchChecked(name) {
  return fetch(new Request(name, { cache: 'reload' })).then(function(response) {
    if (!response.ok) throw new Error(name + ': ' + response.status);
    return response.clone()
        .arrayBuffer()
        .then(function(bytes) {
          return crypto.subtle.digest('SHA-256', bytes);
        })
        .then(function(digest) {
          if (hex(digest) !== FILES[name]) throw new Error(name + ' is of another build');
          return response;
        });
  });
}

self.addEventListener('install', function(event) {
  var names = Object.keys(FILES);
  var stored = Promise.all(names.map(fetchChecked)).then(function(responses) {
    return caches.open(CACHE).then(function(cache) {
      return Promise.all(responses.map(function(response, i) {
        return cache.put(names[i], response);
      }));
    });
  });
  event.waitUntil(stored.catch(function(error) {
    return caches.delete(CACHE).then(function() {
      throw error;
    });
  }));
});

// The page's "Reload" lets the waiting build take over.
self.addEventListener('message', function(event) {
  if (event.data === 'take-over') self.skipWaiting();
});

self.addEventListener('activate', function(event) {
  var old = caches.keys().then(function(names) {
    return Promise.all(names
                           .filter(function(name) {
                             return name !== CACHE;
                           })
                           .map(function(name) {
                             return caches.delete(name);
                           }));
  });
  event.waitUntil(old.then(function() {
    return self.clients.claim();
  }));
});

// The page is the build's index.html whatever its address asks for.
self.addEventListener('fetch', function(event) {
  if (event.request.method !== 'GET') return;
  var request = event.request.mode === 'navigate' ? 'index.html' : event.request;
  event.respondWith(caches.open(CACHE)
                        .then(function(cache) {
                          return cache.match(request, { ignoreSearch: true });
                        })
                        .then(function(cached) {
                          return cached || fetch(event.request);
                        }));
});
