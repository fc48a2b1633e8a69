// The web page's cost to a player: its transfer size (gzip) and the time from navigation to
// the frame that shows the splash, against an empty page served the same way (both through
// scripts/serve-web.py), in headless Chromium. Alternating rounds; the splash's time is given
// as a ratio of the medians.
//
//   node --experimental-websocket bench/web_bench.mjs PAGE_DIR [ROUNDS]

import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

import { serveWeb, startBrowser } from '../tests/web/chromium.mjs';

const pageDir = path.resolve(process.argv[2] || 'build-web');
const rounds = Number(process.argv[3] || 15);

let gzipBytes = 0;
for (const name of fs.readdirSync(pageDir)) {
  const file = path.join(pageDir, name);
  if (fs.statSync(file).isFile()) gzipBytes += zlib.gzipSync(fs.readFileSync(file), { level: 9 }).length;
}

// An empty page that marks its first frame the same way.
const EMPTY = '<!doctype html><html><body><div></div><script>requestAnimationFrame(() => {' +
  'document.documentElement.dataset.painted = performance.now().toFixed(1); });</script></body></html>';
const emptyDir = fs.mkdtempSync(path.join(os.tmpdir(), 'realtopia-empty-'));
fs.writeFileSync(path.join(emptyDir, 'index.html'), EMPTY);
const gameServer = await serveWeb(pageDir);
const emptyServer = await serveWeb(emptyDir);
const browser = await startBrowser();

async function painted(url) {
  await browser.send('Network.setCacheDisabled', { cacheDisabled: true });
  await browser.send('Page.navigate', { url });
  const started = Date.now();
  for (;;) {
    if (Date.now() - started > 30000) throw new Error(url + ' never showed its first frame');
    const value = await browser.evaluate('document.documentElement && document.documentElement.dataset.painted');
    if (value) return Number(value);
    await new Promise((resolve) => setTimeout(resolve, 2));
  }
}

await browser.send('Network.enable');
const game = [];
const empty = [];
for (let i = 0; i < rounds; ++i) {
  empty.push(await painted(emptyServer.url));
  game.push(await painted(gameServer.url + '?seed=1'));
}
await browser.close();
await gameServer.stop();
await emptyServer.stop();
fs.rmSync(emptyDir, { recursive: true, force: true });

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
// Each target also goes to make bench's summary (REALTOPIA_BENCH_SUMMARY), with the figure's
// ratio to its limit.
const report = (what, value, unit, target, met, limit, digits = 1) => {
  console.log(`${what.padEnd(40)} ${value.toFixed(digits).padStart(10)} ${unit.padEnd(3)} target ${target}  ${met ? 'met' : 'NOT MET'}`);
  const summary = process.env.REALTOPIA_BENCH_SUMMARY;
  if (summary) {
    fs.appendFileSync(summary,
      `${what}|${(value / limit).toFixed(2)}|-|figure / limit (${target})|${met ? 'met' : 'NOT MET'}\n`);
  }
};
report('web page transfer size (gzip)', gzipBytes / 1e6, 'MB', '<= 1.5 MB', gzipBytes <= 1.5e6, 1.5);
console.log(`${'empty page first frame (median)'.padEnd(40)} ${median(empty).toFixed(1).padStart(10)} ms`);
console.log(`${'splash first frame (median)'.padEnd(40)} ${median(game).toFixed(1).padStart(10)} ms`);
const ratio = median(game) / median(empty);
report(`web splash / empty page (${rounds} rounds)`, ratio, 'x', '<= 1.5x', ratio <= 1.5, 1.5, 2);
