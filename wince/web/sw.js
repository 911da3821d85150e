// Keeps the page for play without a network: everything is cached at the
// first visit and served from the cache at once; a fetch in the background
// refreshes the cache, so a new build is played from the visit after.
'use strict';

var CACHE = 'pellax-rim';
var FILES = [
  './', 'index.html', 'pellax-rim.js', 'pellax-rim.wasm', 'manifest.webmanifest', 'icon-192.png',
  'icon-512.png'
];

self.addEventListener('install', function(event) {
  var stored = caches.open(CACHE).then(function(cache) {
    return cache.addAll(FILES);
  });
  event.waitUntil(stored.then(function() {
    return self.skipWaiting();
  }));
});

self.addEventListener('activate', function(event) {
  event.waitUntil(self.clients.claim());
});

self.addEventListener('fetch', function(event) {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE).then(function(cache) {
    return cache.match(event.request, { ignoreSearch: true }).then(function(cached) {
      var fresh = fetch(event.request).then(function(response) {
        if (response.ok) cache.put(event.request, response.clone());
        return response;
      });
      if (!cached) return fresh;
      fresh.catch(function() {});  // offline: the cached copy serves
      event.waitUntil(fresh.then(function() {}, function() {}));
      return cached;
    });
  }));
});
