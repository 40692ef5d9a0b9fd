// The page as a host serves it, in Chromium or Firefox:
//   offline     after a first visit (the service worker has kept the
//               files), a reload with the web server stopped still starts
//               the game
//   installable Chromium finds nothing missing to install it as an app
//               (CDP Page.getInstallabilityErrors); desktop Firefox
//               installs no web apps
// Prints the figures; exits 1 on a failed check.
//   node check_offline.js --site DIR --browser chromium|firefox --executable EXE --work DIR
'use strict';
const { args, check, runChecks, openPage, firstFrame, status } = require('./page_tools');

runChecks(async ({ session, server, url }) => {
  const page = await openPage(session, url);
  const kept = await page.evaluate(async () => {
    const ready = await Promise.race([navigator.serviceWorker.ready, new Promise((r) => setTimeout(r, 20000))]);
    if (!ready) return [];
    const cache = await caches.open((await caches.keys()).find((n) => n.startsWith('drovane3d-')));
    return (await cache.keys()).map((r) => new URL(r.url).pathname).sort();
  });
  console.log(`${args.browser}: the service worker keeps ${kept.join(' ')}`);
  check(kept.includes('/drovane3d.wasm'), `${args.browser}: a service worker keeps the page's files`);

  if (args.browser !== 'firefox') {
    const { installabilityErrors } = await (await page.createCDPSession()).send('Page.getInstallabilityErrors');
    console.log(`installability errors: ${JSON.stringify(installabilityErrors)}`);
    check(installabilityErrors.length === 0, 'Chromium can install the page as an app');
  }

  server.closeAllConnections();
  await new Promise((resolve) => server.close(resolve));
  const refused = await fetch(url).then(() => false, () => true);
  const startedAt = Date.now();
  await page.reload();
  await firstFrame(page);
  const line = await status(page);
  console.log(`${args.browser}: server stopped (${refused ? 'refusing connections' : 'STILL ANSWERING'}), ` +
    `reloaded page drew its first frame ${Date.now() - startedAt} ms after the reload; status line "${line}"`);
  check(refused && line === '', `${args.browser}: a reload with the server stopped starts the game`);
});
