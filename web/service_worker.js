// SPDX-License-Identifier: GPL-3.0-or-later
// The site's service worker, written out by the build (offline_site.ts) with the build's files
// and a cache named by their content: every file the page loads is kept at the first visit
// and served from the cache after, with or without a network. A new build installs beside the
// one in use and waits: the page takes it only when its user says so.
/* global self, caches, fetch, Request, URL, __HALVEX_FILES__ */
const cacheName = "__HALVEX_CACHE__";
const siteFiles = __HALVEX_FILES__;
const cachePrefix = "halvex-";

self.addEventListener("install", (event) => {
  event.waitUntil(
    caches
      .open(cacheName)
      .then((cache) =>
        cache.addAll(siteFiles.map((file) => new Request(file, { cache: "reload" }))),
      ),
  );
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) =>
        Promise.all(
          names
            .filter((name) => name.startsWith(cachePrefix) && name !== cacheName)
            .map((name) => caches.delete(name)),
        ),
      )
      .then(() => self.clients.claim()),
  );
});

self.addEventListener("message", (event) => {
  if (event.data === "take-new-version") {
    self.skipWaiting();
  }
});

// The page's own files come from the cache, whatever the address's parameters; anything else
// (another site, a file the build did not make) goes to the network as usual.
self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) {
    return;
  }
  event.respondWith(
    caches
      .open(cacheName)
      .then((cache) => cache.match(request, { ignoreSearch: true }))
      .then((kept) => kept ?? fetch(request)),
  );
});
