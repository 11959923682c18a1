// Opens a karaoke page that Save wrote, as a person does: from its folder
// next to the joined recording (a file:// address), in Debian's Chromium.
// The page loads jQuery from a public CDN, which the test machine cannot
// reach, so that one request is answered with the same file from npm; every
// other network request is refused.
//
//   node karaoke.test.mjs PAGE.html [ARTIFACT_DIR]
//
// The expected words come from the word file Save wrote beside the page
// (same name, .spk or .ctm): every word but "SIL", in order, with its start
// and, in an SPK file, its speaker.

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const hier = path.dirname(fileURLToPath(import.meta.url));
const pagina = path.resolve(process.argv[2] ?? '');
const artefacten = path.resolve(process.argv[3] ?? path.join(hier, 'artifacts'));
const jqueryBestand = path.join(hier, 'node_modules', 'jquery', 'dist', 'jquery.min.js');
const cdnPad = '/ajax/libs/jquery/1.11.2/jquery.min.js';

// The word file Save wrote beside the page: UTF-8 with a byte-order mark,
// CR LF, fields separated by one tab or one blank.
function verwachteWoorden() {
  const basis = pagina.replace(/\.html$/, '');
  const bestand = ['.spk', '.ctm'].map((e) => basis + e).find((f) => fs.existsSync(f));
  assert.ok(bestand, `no word file beside ${pagina}`);
  const tekst = fs.readFileSync(bestand, 'utf8').replace(/^\uFEFF/, '');
  const regels = tekst.split('\r\n');
  assert.equal(regels.pop(), '', 'the word file ends with CR LF');
  return regels
    .map((r) => r.split(r.includes('\t') ? '\t' : ' '))
    .filter((v) => v[4] !== 'SIL' && v[4] !== '')
    .map((v) => ({ woord: v[4], timestamp: v[2], spreker: v[6] ?? null }));
}

let browser;
let page;
let woorden;
const paginaFouten = [];
let cdnVerzoeken = 0;

before(async () => {
  assert.ok(fs.existsSync(pagina), `page ${pagina} does not exist`);
  woorden = verwachteWoorden();
  browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
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
      if (url.protocol === 'https:' && url.pathname === cdnPad) {
        cdnVerzoeken++;
        await route.fulfill({
          status: 200,
          contentType: 'application/javascript',
          body: fs.readFileSync(jqueryBestand),
        });
      } else {
        await route.abort();
      }
    },
  );
  page = await context.newPage();
  page.on('pageerror', (e) => paginaFouten.push(e.message));
  await page.goto(pathToFileURL(pagina).href);
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
      woord: e.textContent,
      timestamp: e.getAttribute('timestamp'),
      spreker: e.getAttribute('speaker'),
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
  assert.equal(cdnVerzoeken, 1);
  assert.equal(await page.evaluate(() => window.jQuery.fn.jquery), '1.11.2');
  assert.deepEqual(paginaFouten, []);
});

test('one span per shown word, each with its start as timestamp and its speaker', async () => {
  assert.ok(woorden.length > 10, 'the example has words');
  const getoond = await spans();
  if (woorden.every((w) => w.spreker === null)) getoond.forEach((s) => (s.spreker = null));
  assert.deepEqual(getoond, woorden);
});

test('an "<unk>" word shows as the text "<unk>"', async () => {
  const i = woorden.findIndex((w) => w.woord === '<unk>');
  assert.ok(i >= 0, 'the example holds an <unk> word');
  const span = page.locator('span.player').nth(i);
  assert.equal(await span.textContent(), '<unk>');
  assert.ok(await span.isVisible());
  const breedte = (await span.boundingBox()).width;
  assert.ok(breedte > 10, `the <unk> span is ${breedte}px wide`);
});

test('a click on a word moves the audio to its time and plays', async () => {
  const i = Math.floor(woorden.length / 2);
  const t = Number(woorden[i].timestamp);
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
  const ts = woorden.map((w) => Number(w.timestamp));
  // Times clear of the 0.2 s border for every word, so the outcome does not
  // hang on rounding; some with one word near, some with none.
  const kandidaten = ts
    .flatMap((t) => [t + 0.05, t - 0.1, t + 0.4])
    .filter((t) => t > 0 && ts.every((w) => Math.abs(Math.abs(w - t) - 0.2) > 0.02));
  const gekozen = [kandidaten[1], kandidaten[Math.floor(kandidaten.length / 2)], kandidaten.at(-1)];
  let zonderWoord = 0;
  for (const t of gekozen) {
    await page.$eval(
      '#audioPlayer',
      (a, t) =>
        new Promise((klaar) => {
          a.addEventListener('timeupdate', () => klaar(), { once: true });
          a.currentTime = t;
        }),
      t,
    );
    const nu = (await audio()).currentTime;
    assert.ok(Math.abs(nu - t) < 0.01, `seeked to ${nu}, wanted ${t}`);
    assert.equal(await page.textContent('#displayTimer'), nu.toFixed(1));
    const stijlen = await page.$$eval('span.player', (els) =>
      els.map((e) => {
        const s = getComputedStyle(e);
        return { achtergrond: s.backgroundColor, lijn: s.textDecorationLine };
      }),
    );
    const verwacht = ts.map((w) =>
      Math.abs(w - nu) < 0.2
        ? { achtergrond: 'rgb(255, 255, 0)', lijn: 'underline' }
        : { achtergrond: 'rgb(255, 255, 255)', lijn: 'none' },
    );
    assert.deepEqual(stijlen, verwacht, `at ${nu} s`);
    if (!ts.some((w) => Math.abs(w - nu) < 0.2)) zonderWoord++;
    else assert.ok(verwacht.some((v) => v.lijn === 'underline'));
  }
  assert.ok(zonderWoord < gekozen.length, 'at least one chosen time lights a word');
});

test('moving the mouse over a word fills the information table', async () => {
  const i = woorden.findIndex((w) => w.woord === '<unk>');
  const span = page.locator('span.player').nth(i);
  await span.hover();
  const cel = (id) => page.textContent(`#${id}`);
  assert.equal(await cel('timeindex'), Number(woorden[i].timestamp).toFixed(3));
  assert.equal(await cel('confidence'), '1');
  assert.ok(woorden[i].spreker, 'the example names its speakers');
  assert.equal(await cel('speaker'), woorden[i].spreker);

  // A word of the other speaker replaces the three values.
  const j = woorden.findIndex((w) => w.spreker !== woorden[i].spreker);
  assert.ok(j >= 0, 'the example has two speakers');
  await page.locator('span.player').nth(j).hover();
  assert.equal(await cel('timeindex'), Number(woorden[j].timestamp).toFixed(3));
  assert.equal(await cel('speaker'), woorden[j].spreker);
});

test('a screenshot of the page is kept', async () => {
  // Show a highlighted word under the mouse, as a person sees the page.
  const i = woorden.findIndex((w) => w.woord === '<unk>');
  await page.$eval(
    '#audioPlayer',
    (a, t) =>
      new Promise((klaar) => {
        a.addEventListener('timeupdate', () => klaar(), { once: true });
        a.currentTime = t;
      }),
    Number(woorden[i].timestamp) + 0.05,
  );
  await page.locator('span.player').nth(i).hover();
  fs.mkdirSync(artefacten, { recursive: true });
  const bestand = path.join(artefacten, 'karaoke.png');
  await page.screenshot({ path: bestand, fullPage: true });
  assert.ok(fs.statSync(bestand).size > 1000);
  assert.deepEqual(paginaFouten, []);
});
