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
const { launch, serve } = require('./browser');

const args = {};
for (let i = 2; i + 1 < process.argv.length; i += 2) args[process.argv[i].slice(2)] = process.argv[i + 1];
const { check, finish } = require('./page_tools').checks();

// Resolves once the game has drawn a frame, to what the status line says.
async function started(page) {
  await page.waitForFunction(() => window.drovaneFrames && window.drovaneFrames.count > 0, { timeout: 60000 });
  return page.evaluate(() => document.getElementById('status').textContent);
}

async function main() {
  const server = await serve(args.site);
  const url = `http://127.0.0.1:${server.address().port}/?tick=1000`;
  const session = await launch({ name: args.browser, executable: args.executable, work: args.work });
  try {
    const browser = session.browser;
    const page = await browser.newPage();
    await page.goto(url);
    await started(page);
    const kept = await page.evaluate(async () => {
      const ready = await Promise.race([navigator.serviceWorker.ready, new Promise((r) => setTimeout(r, 20000))]);
      if (!ready) return [];
      const cache = await caches.open((await caches.keys()).find((n) => n.startsWith('drovane3d-')));
      return (await cache.keys()).map((r) => new URL(r.url).pathname).sort();
    });
    console.log(`${args.browser}: the service worker keeps ${kept.join(' ')}`);
    check(kept.includes('/drovane3d.wasm'), `${args.browser}: a service worker keeps the page's files`);

    if (args.browser !== 'firefox') {
      const cdp = await page.createCDPSession();
      const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
      console.log(`installability errors: ${JSON.stringify(installabilityErrors)}`);
      check(installabilityErrors.length === 0, 'Chromium can install the page as an app');
    }

    server.closeAllConnections();
    await new Promise((resolve) => server.close(resolve));
    const refused = await fetch(url).then(() => false, () => true);
    const startedAt = Date.now();
    await page.reload();
    const status = await started(page);
    console.log(`${args.browser}: server stopped (${refused ? 'refusing connections' : 'STILL ANSWERING'}), ` +
      `reloaded page drew its first frame ${Date.now() - startedAt} ms after the reload; status line "${status}"`);
    check(refused && status === '', `${args.browser}: a reload with the server stopped starts the game`);
  } finally {
    await session.close();
    server.close();
  }
  finish();
}

main().catch((e) => { console.error(e); process.exit(1); });
