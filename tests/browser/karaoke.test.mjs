// Opens a karaoke page that Save wrote, as a person does: from its folder
// next to the joined recording (a file:// address), in Debian's Chromium.
// The page loads jQuery from a public CDN, which the test machine cannot
// reach, so that one request is answered with the same file from npm; every
// other network request is refused.
//
//   node karaoke.test.mjs PAGE.html [ARTIFACT_DIR]
//
// CHROMIUM names the browser (default /usr/bin/chromium, Debian's package).
// Runs on Node.js 18 (Debian 12's) and later.
//
// The expected words come from the word file Save wrote beside the page
// (same name, .spk or .ctm): every word but "SIL", in order, with its start
// confidence and, in an SPK file, its speaker.

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const pagePath = path.resolve(process.argv[2] ?? '');
const artifactDir = path.resolve(process.argv[3] ?? path.join(here, 'artifacts'));
const jqueryFile = path.join(here, 'node_modules', 'jquery', 'dist', 'jquery.min.js');
const cdnPath = '/ajax/libs/jquery/1.11.2/jquery.min.js';
const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

// The word file Save wrote beside the page: UTF-8 with a byte-order mark,
// CR LF, fields separated by one tab or one blank.
function expectedWords() {
  const base = pagePath.replace(/\.html$/, '');
  const file = ['.spk', '.ctm'].map((e) => base + e).find((f) => fs.existsSync(f));
  assert.ok(file, `no word file beside ${pagePath}`);
  const text = fs.readFileSync(file, 'utf8').replace(/^\uFEFF/, '');
  const lines = text.split('\r\n');
  assert.equal(lines.pop(), '', 'the word file ends with CR LF');
  return lines
    .map((r) => r.split(r.includes('\t') ? '\t' : ' '))
    .filter((v) => v[4] !== 'SIL' && v[4] !== '')
    .map((v) => ({ word: v[4], timestamp: v[2], confidence: v[5], speaker: v[6] ?? null }));
}

let browser;
let page;
let words;
const pageErrors = [];
let cdnRequests = 0;

before(async () => {
  assert.ok(fs.existsSync(pagePath), `page ${pagePath} does not exist`);
  words = expectedWords();
  browser = await chromium.launch({
    executablePath: chromiumPath,
    headless: true,
    chromiumSandbox: false,
    args: [
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      '--no-first-run',
    ],
  });
  const context = await browser.newContext({ viewport: { width: 1000, height: 900 } });
  await context.route(
    (url) => url.protocol === 'http:' || url.protocol === 'https:',
    async (route) => {
      const url = new URL(route.request().url());
      if (url.protocol === 'https:' && url.pathname === cdnPath) {
        cdnRequests++;
        await route.fulfill({
          status: 200,
          contentType: 'application/javascript',
          body: fs.readFileSync(jqueryFile),
        });
      } else {
        await route.abort();
      }
    },
  );
  page = await context.newPage();
  page.on('pageerror', (e) => pageErrors.push(e.message));
  await page.goto(pathToFileURL(pagePath).href);
  await page.waitForFunction(() => typeof window.jQuery === 'function');
});

after(async () => {
  await browser?.close();
});

// The spans, as the page shows them. A CTM file names no speakers, so then
// only the words and their starts are compared.
function spans() {
  return page.$$eval('span.player', (els) =>
    els.map((e) => ({
      word: e.textContent,
      timestamp: e.getAttribute('timestamp'),
      confidence: e.getAttribute('conf'),
      speaker: e.getAttribute('speaker'),
    })),
  );
}

async function audio() {
  return page.$eval('#audioPlayer', (a) => ({
    currentTime: a.currentTime,
    paused: a.paused,
    error: a.error ? a.error.code : null,
  }));
}

test('the page loads jQuery from the CDN address and runs without errors', async () => {
  assert.equal(cdnRequests, 1);
  assert.equal(await page.evaluate(() => window.jQuery.fn.jquery), '1.11.2');
  assert.deepEqual(pageErrors, []);
});

test('one span per shown word, each with its start as timestamp, its confidence and its speaker', async () => {
  assert.ok(words.length > 10, 'the example has words');
  const shown = await spans();
  if (words.every((w) => w.speaker === null)) shown.forEach((s) => (s.speaker = null));
  assert.deepEqual(shown, words);
});

test('an "<unk>" word shows as the text "<unk>"', async () => {
  const i = words.findIndex((w) => w.word === '<unk>');
  assert.ok(i >= 0, 'the example holds an <unk> word');
  const span = page.locator('span.player').nth(i);
  assert.equal(await span.textContent(), '<unk>');
  assert.ok(await span.isVisible());
  const width = (await span.boundingBox()).width;
  assert.ok(width > 10, `the <unk> span is ${width}px wide`);
});

test('a click on a word moves the audio to its time and plays', async () => {
  const i = Math.floor(words.length / 2);
  const t = Number(words[i].timestamp);
  const log = page.waitForEvent('console', (m) => m.text() === String(t));
  await page.locator('span.player').nth(i).click();
  await log;
  await page.waitForFunction(
    (t) => {
      const a = document.getElementById('audioPlayer');
      return !a.paused && a.currentTime > t + 0.1;
    },
    t,
    { timeout: 10000 },
  );
  const a = await audio();
  assert.equal(a.error, null);
  assert.equal(a.paused, false);
  // Playing on from the word, not from the start of the recording.
  assert.ok(a.currentTime >= t && a.currentTime < t + 5, `currentTime ${a.currentTime} after ${t}`);
  await page.$eval('#audioPlayer', (a) => a.pause());
});

test('the words within 0.2 s of the current time are highlighted, the others not', async () => {
  const ts = words.map((w) => Number(w.timestamp));
  // Times clear of the 0.2 s border for every word, so the outcome does not
  // hang on rounding; some with one word near, some with none.
  const candidates = ts
    .flatMap((t) => [t + 0.05, t - 0.1, t + 0.4])
    .filter((t) => t > 0 && ts.every((w) => Math.abs(Math.abs(w - t) - 0.2) > 0.02));
  const chosen = [candidates[1], candidates[Math.floor(candidates.length / 2)], candidates.at(-1)];
  let withoutWord = 0;
  for (const t of chosen) {
    await page.$eval(
      '#audioPlayer',
      (a, t) =>
        new Promise((done) => {
          a.addEventListener('timeupdate', () => done(), { once: true });
          a.currentTime = t;
        }),
      t,
    );
    const now = (await audio()).currentTime;
    assert.ok(Math.abs(now - t) < 0.01, `seeked to ${now}, wanted ${t}`);
    assert.equal(await page.textContent('#displayTimer'), now.toFixed(1));
    const styles = await page.$$eval('span.player', (els) =>
      els.map((e) => {
        const s = getComputedStyle(e);
        return { background: s.backgroundColor, decoration: s.textDecorationLine };
      }),
    );
    const expected = ts.map((w) =>
      Math.abs(w - now) < 0.2
        ? { background: 'rgb(255, 255, 0)', decoration: 'underline' }
        : { background: 'rgb(255, 255, 255)', decoration: 'none' },
    );
    assert.deepEqual(styles, expected, `at ${now} s`);
    if (!ts.some((w) => Math.abs(w - now) < 0.2)) withoutWord++;
    else assert.ok(expected.some((v) => v.decoration === 'underline'));
  }
  assert.ok(withoutWord < chosen.length, 'at least one chosen time lights a word');
});

test('moving the mouse over a word fills the information table', async () => {
  const i = words.findIndex((w) => w.word === '<unk>');
  const span = page.locator('span.player').nth(i);
  await span.hover();
  const cell = (id) => page.textContent(`#${id}`);
  assert.equal(await cell('timeindex'), Number(words[i].timestamp).toFixed(3));
  // The confidence as the word file holds it: two decimals, as the table shows it.
  assert.equal(await cell('confidence'), words[i].confidence);
  assert.ok(words[i].speaker, 'the example names its speakers');
  assert.equal(await cell('speaker'), words[i].speaker);

  // A word of the other speaker replaces the three values.
  const j = words.findIndex((w) => w.speaker !== words[i].speaker);
  assert.ok(j >= 0, 'the example has two speakers');
  await page.locator('span.player').nth(j).hover();
  assert.equal(await cell('timeindex'), Number(words[j].timestamp).toFixed(3));
  assert.equal(await cell('speaker'), words[j].speaker);
});

test('a screenshot of the page is kept', async () => {
  // Show a highlighted word under the mouse, as a person sees the page.
  const i = words.findIndex((w) => w.word === '<unk>');
  await page.$eval(
    '#audioPlayer',
    (a, t) =>
      new Promise((done) => {
        a.addEventListener('timeupdate', () => done(), { once: true });
        a.currentTime = t;
      }),
    Number(words[i].timestamp) + 0.05,
  );
  await page.locator('span.player').nth(i).hover();
  fs.mkdirSync(artifactDir, { recursive: true });
  const file = path.join(artifactDir, 'karaoke.png');
  await page.screenshot({ path: file, fullPage: true });
  assert.ok(fs.statSync(file).size > 1000);
  assert.deepEqual(pageErrors, []);
});
