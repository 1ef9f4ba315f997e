// Keeps the site for playing offline (served as service-worker.js): every file of one build in a
// cache named after it (kCache: the version and a hash of its files), served from there
// before the network. A build whose files differ has another name, so that the browser, which
// looks for a new worker at each visit, brings a new build in on the next one; the caches of
// older builds go once it takes over.
const kCache = '@SKYRING_CACHE@';
const kFiles = [@SKYRING_FILES@];

self.addEventListener('install', (event) => {
  // Straight from the server, not from the browser's own cache of an older build.
  event.waitUntil(caches.open(kCache)
    .then((cache) => cache.addAll(kFiles.map((file) => new Request(file, {cache: 'reload'}))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith('skyring-') && name !== kCache)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  // The page with any query ('?presenter=2d', '?debug') is the one page.
  event.respondWith(caches.open(kCache)
    .then((cache) => cache.match(request, {ignoreSearch: true})
      .then((kept) => kept || (request.mode === 'navigate' ? cache.match('./') : undefined)))
    .then((kept) => kept || fetch(request)));
});
