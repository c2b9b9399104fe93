// Over http(s), makes the page an app that can be installed and that works
// offline: links the web app manifest and registers the service worker (sw.js),
// which caches the page's files. From file:// neither can work, and neither is
// tried. Imports nothing.

export function start() {
  if (!/^https?:$/.test(location.protocol) || !('serviceWorker' in navigator)) return;
  const manifest = document.createElement('link');
  manifest.rel = 'manifest';
  manifest.href = 'manifest.webmanifest';
  document.head.append(manifest);
  // Not an error: the page still works online.
  navigator.serviceWorker.register('sw.js').catch((error) => console.warn(`No offline use: ${error}`));
}
