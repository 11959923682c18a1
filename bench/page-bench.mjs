// The karaoke pages in Chromium: for each page given, the load time and the
// main-thread cost of one update (the page's answer to one "timeupdate" of
// the player), from a Chromium trace. Run through bench/run-page-bench.sh.
//
//   node page-bench.mjs PAGE.html...
//
// Load: from navigation start until the first frame after the page's own
// start-up script (jQuery's ready handler on the classic page, the script's
// DOMContentLoaded handler on the standalone one) has run; the median of
// three loads.
// Update: the player's time is set to the next step (a quarter of a second
// on, as a playing player reports it) and a "timeupdate" is dispatched; the
// cost is the main-thread time of that event's dispatch (script, with any
// style and layout it forces) plus the style recalculation and layout of
// the frame after it, before the next update. Median over the updates.
// The paint of that frame (pre-paint and paint) is shown beside it, not in
// it; compositing is not counted. Per second of playback: four updates (a
// playing player's "timeupdate" rate) with their paint.
//
// The classic page loads jQuery from a CDN: the bench answers that request
// with the same file from npm (tests/browser/node_modules) and aborts every
// other network request.

import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { fileURLToPath, pathToFileURL } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const modules = path.join(here, '..', 'tests', 'browser', 'node_modules');
const require = createRequire(path.join(modules, 'x.js'));
const { chromium } = require('playwright-core');
const jquery = fs.readFileSync(path.join(modules, 'jquery', 'dist', 'jquery.min.js'));

const median = (v) => {
  const s = [...v].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  chromiumSandbox: false,
  args: ['--disable-background-networking', '--disable-component-update', '--no-first-run'],
});
const context = await browser.newContext({ viewport: { width: 1000, height: 800 } });
await context.route('**/*', (route) => {
  const url = route.request().url();
  if (url.startsWith('file:')) return route.continue();
  if (url.endsWith('/jquery/1.11.2/jquery.min.js'))
    return route.fulfill({ status: 200, contentType: 'application/javascript', body: jquery });
  return route.abort();
});

// The first frame after the start-up scripts: a task queued from the first
// DOMContentLoaded handler runs after all of them (the page's too).
const markLoaded = () => {
  document.addEventListener('DOMContentLoaded', () => {
    setTimeout(() => requestAnimationFrame(() => setTimeout(() => (window.benchLoaded = performance.now()))));
  });
};

const scriptErrors = new Map(); // page file -> first script error
async function load(file) {
  const page = await context.newPage();
  page.on('pageerror', (e) => scriptErrors.has(file) || scriptErrors.set(file, e.message));
  await page.addInitScript(markLoaded);
  await page.goto(pathToFileURL(file).href, { timeout: 600000 });
  await page.waitForFunction(() => window.benchLoaded !== undefined, null, { timeout: 600000 });
  return page;
}

async function measure(file, updates) {
  const loads = [];
  for (let i = 0; i < 3; i++) {
    const p = await load(file);
    loads.push(await p.evaluate(() => window.benchLoaded));
    await p.close();
  }
  const page = await load(file);
  // The player's time, set by the bench; the page reads it as it reads the
  // player's.
  const first = await page.evaluate(() => {
    const a = document.getElementById('audioPlayer');
    const spans = document.querySelectorAll('span[timestamp], span[data-t]');
    const at = spans[Math.floor(spans.length / 2)];
    window.benchTime = Number(at.getAttribute('timestamp') ?? at.getAttribute('data-t'));
    Object.defineProperty(a, 'currentTime', { get: () => window.benchTime, set: (v) => (window.benchTime = v) });
    return window.benchTime;
  });
  await browser.startTracing(page, { categories: ['devtools.timeline', 'disabled-by-default-devtools.timeline'] });
  for (let i = 0; i < updates; i++) {
    await page.evaluate(
      (t) =>
        new Promise((done) => {
          window.benchTime = t;
          document.getElementById('audioPlayer').dispatchEvent(new Event('timeupdate'));
          requestAnimationFrame(() => setTimeout(done));
        }),
      first + 0.25 * (i + 1),
    );
  }
  const trace = JSON.parse((await browser.stopTracing()).toString());
  await page.close();

  const events = (trace.traceEvents ?? trace).filter((e) => e.ph === 'X' && e.dur !== undefined);
  const dispatches = events
    .filter((e) => e.name === 'EventDispatch' && e.args?.data?.type === 'timeupdate')
    .sort((a, b) => a.ts - b.ts);
  if (dispatches.length !== updates) throw new Error(`${dispatches.length} timeupdate dispatches traced, ${updates} sent`);
  const { pid, tid } = dispatches[0];
  const onMain = (names) =>
    events.filter((e) => e.pid === pid && e.tid === tid && names.includes(e.name)).sort((a, b) => a.ts - b.ts);
  const rendering = onMain(['UpdateLayoutTree', 'Layout']);
  const painting = onMain(['PrePaint', 'Paint']);
  const costs = dispatches.map((d, i) => {
    const end = i + 1 < dispatches.length ? dispatches[i + 1].ts : Infinity;
    let us = d.dur;
    let covered = d.ts + d.dur; // events inside the dispatch are in its time already
    for (const e of rendering) {
      if (e.ts < covered || e.ts >= end) continue;
      us += e.dur;
      covered = e.ts + e.dur;
    }
    return us / 1000;
  });
  // Paint of the frame after each update, beside it (not in the update's cost).
  const paints = dispatches.map((d, i) => {
    const end = i + 1 < dispatches.length ? dispatches[i + 1].ts : Infinity;
    let covered = 0;
    let us = 0;
    for (const e of painting) {
      if (e.ts < d.ts || e.ts >= end || e.ts < covered) continue;
      us += e.dur;
      covered = e.ts + e.dur;
    }
    return us / 1000;
  });
  return { load: median(loads), update: median(costs), paint: median(paints), updates: costs.length };
}

const rows = [];
for (const file of process.argv.slice(2)) {
  const name = path.basename(file, '.html');
  const [style, words] = name.split('-');
  // The classic page restyles every word on every update: a few are enough.
  const updates = style === 'classic' ? (Number(words) >= 300000 ? 5 : 15) : 41;
  const r = await measure(file, updates);
  rows.push({ style, words: Number(words), ...r });
  console.log(
    `${style.padEnd(10)} ${String(words).padStart(7)} words  load ${r.load.toFixed(0).padStart(6)} ms  ` +
      `update ${r.update.toFixed(2).padStart(8)} ms  paint after it ${r.paint.toFixed(2).padStart(6)} ms (medians of ${r.updates})  ` +
      `per second of playback ${(4 * (r.update + r.paint)).toFixed(1).padStart(7)} ms` +
      (scriptErrors.has(file) ? `  script error: ${scriptErrors.get(file)}` : ''),
  );
}
await browser.close();
