// Runs the behaviour suite's browser build (behaviour_web_tests.js, from
// scripts/web.sh tests) in headless Chromium or Firefox (browser.js): a bare page with the canvas the
// web layer draws into, GoogleTest's output read from the console. Exits 1
// unless the suite ends and every case passes.
//   node run_behaviour.js --program FILE.js --browser chromium|firefox --executable EXE --work DIR
'use strict';
const path = require('path');
const { launch, serve } = require('./browser');
const { args } = require('./page_tools');
const TIMEOUT_MS = 240000;
const program = path.basename(args.program);
const page = `<!doctype html><html><head><meta charset="utf-8"><link rel="icon" href="data:,"></head><body>
<canvas id="canvas" width="640" height="480" tabindex="0"></canvas>
<script>var Module = { canvas: document.getElementById('canvas'),
  print: (t) => console.log(t), printErr: (t) => console.error(t),
  onAbort: (w) => console.log('behaviour suite aborted: ' + w) };</script>
<script async src="${program}" onerror="console.log('behaviour suite aborted: ${program} did not load')"></script></body></html>`;

async function main() {
  const server = await serve(path.dirname(path.resolve(args.program)), { 'index.html': page });
  const session = await launch({ name: args.browser || 'chromium', executable: args.executable, work: args.work,
    width: 800, height: 700 });
  const browser = session.browser;
  const lines = [];
  let exitCode = null;
  try {
    const tab = await browser.newPage();
    const ended = new Promise((resolve) => {
      const note = (text) => {
        console.log(text);
        lines.push(text);
        const end = /^behaviour suite (exit (-?\d+)|aborted)/.exec(text);
        if (end) resolve(end[2] === undefined ? -1 : Number(end[2]));
      };
      tab.on('console', (m) => note(m.text()));
      tab.on('pageerror', (e) => { note(`page error: ${e.message}`); resolve(-1); });
      setTimeout(() => { note(`no end after ${TIMEOUT_MS} ms`); resolve(-1); }, TIMEOUT_MS).unref();
    });
    await tab.goto(`http://127.0.0.1:${server.address().port}/`);
    exitCode = await ended;
  } finally {
    await session.close();
    server.close();
  }
  const passed = lines.some((l) => l.startsWith('[  PASSED  ]'));
  const failed = lines.some((l) => l.startsWith('[  FAILED  ]'));
  if (exitCode !== 0 || !passed || failed) {
    console.log(`the behaviour suite failed in the browser (exit ${exitCode})`);
    process.exit(1);
  }
}

main().catch((e) => { console.error(e); process.exit(1); });
