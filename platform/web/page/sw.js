// Keeps the page's files so that it plays offline after the first visit.
// scripts/web.sh puts a digest of the files in the cache's name: a changed
// page is a new cache, fetched whole, and the old one is dropped.
'use strict';
const CACHE = 'drovane3d-@FILES_DIGEST@';
const FILES = ['./', 'index.html', 'drovane3d.js', 'drovane3d.wasm', 'manifest.webmanifest',
  'icon-128.png', 'icon-256.png'];

self.addEventListener('install', (event) => {
  // 'no-cache' asks the server whether the browser's copy is current, so the
  // files just loaded by the page are not downloaded a second time.
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((f) => new Request(f, { cache: 'no-cache' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('drovane3d-') && n !== CACHE)
      .map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The kept copy first (a query such as ?tick=N names the same page), the
// network for anything else.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(event.request)));
});
