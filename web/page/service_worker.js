// Keeps the whole page for offline use. Its cache is named after the page's
// folder and release (the build fills both lists in), so a new release
// replaces the old cache and a second copy of the page elsewhere on the
// same server keeps its own.
const release = "@RELEASE@";
const files = "@FILES@";
const prefix = `torvikan ${self.registration.scope} `;
const cacheName = prefix + release;

self.addEventListener("install", (event) => {
    event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
    event.waitUntil(caches.keys()
        .then((names) => Promise.all(names.filter((n) => n.startsWith(prefix) && n !== cacheName).map((n) => caches.delete(n))))
        .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
    if (event.request.method !== "GET")
        return;
    event.respondWith(caches.open(cacheName)
        .then((cache) => cache.match(event.request, { ignoreSearch: true }))
        .then((cached) => cached ?? fetch(event.request)));
});
