// Runs the behaviour suite's browser build (behaviour_web_tests.js, from
// scripts/web.sh tests) in headless Chromium: a bare page with the canvas the
// web layer draws into, GoogleTest's output read from the console. Exits 1
// unless the suite ends and every case passes.
//   node run_behaviour.js --program FILE.js --chromium EXE --work DIR
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const puppeteer = require('puppeteer-core');

const args = {};
for (let i = 2; i + 1 < process.argv.length; i += 2) args[process.argv[i].slice(2)] = process.argv[i + 1];
const TIMEOUT_MS = 240000;
const program = path.basename(args.program);
const page = `<!doctype html><html><head><meta charset="utf-8"><link rel="icon" href="data:,"></head><body>
<canvas id="canvas" width="640" height="480" tabindex="0"></canvas>
<script>var Module = { canvas: document.getElementById('canvas'),
  print: (t) => console.log(t), printErr: (t) => console.error(t),
  onAbort: (w) => console.log('behaviour suite aborted: ' + w) };</script>
<script async src="${program}" onerror="console.log('behaviour suite aborted: ${program} did not load')"></script></body></html>`;

function serve(dir) {
  const types = { '.js': 'text/javascript', '.wasm': 'application/wasm' };
  const server = http.createServer((req, res) => {
    const name = path.basename(new URL(req.url, 'http://x').pathname);
    if (name === '' || name === 'index.html') {
      res.writeHead(200, { 'Content-Type': 'text/html' });
      res.end(page);
      return;
    }
    fs.readFile(path.join(dir, name), (err, data) => {
      res.writeHead(err ? 404 : 200, { 'Content-Type': types[path.extname(name)] || 'text/plain' });
      res.end(err ? '' : data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

async function main() {
  fs.mkdirSync(args.work, { recursive: true });
  const server = await serve(path.dirname(path.resolve(args.program)));
  const profile = fs.mkdtempSync(path.join(args.work, 'profile-'));
  const browser = await puppeteer.launch({
    executablePath: args.chromium, headless: 'new', userDataDir: profile,
    args: ['--headless=new', '--no-sandbox', '--screen-info={1280x1024}', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run',
      '--window-size=800,700'],
  });
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
    await browser.close();
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
