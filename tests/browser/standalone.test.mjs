// Opens the standalone karaoke page as a person does, from its folder next
// to the joined recording (a file:// address), in Debian's Chromium with no
// network route at all: the browser's proxy refuses every connection and
// every request that is not one of the page's own files is aborted.
//
//   node standalone.test.mjs PAGE.html LONG-PAGE.html [ARTIFACT_DIR]
//
// PAGE.html is the example interview saved with "--page standalone
// --low-confidence 0.9"; its words come from the word file Save wrote beside
// it. LONG-PAGE.html is a made-up page of 30,000 words (naadwerk-makepages)
// that plays long.wav from its folder; the test writes that recording (silence
// at 1 kHz, 8 bits, as long as the page) when it is missing.
// CHROMIUM names the browser (default /usr/bin/chromium). Node.js 18 or later.

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import http from 'node:http';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const pagePath = path.resolve(process.argv[2] ?? '');
const longPath = path.resolve(process.argv[3] ?? '');
const artifactDir = path.resolve(process.argv[4] ?? path.join(here, 'artifacts'));
const axeFile = path.join(here, 'node_modules', 'axe-core', 'axe.min.js');
const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

// The word file beside the page: UTF-8 with a byte-order mark, CR LF.
function expectedWords() {
  const file = pagePath.replace(/\.html$/, '.spk');
  const text = fs.readFileSync(file, 'utf8').replace(/^\uFEFF/, '');
  const lines = text.split('\r\n');
  assert.equal(lines.pop(), '', 'the word file ends with CR LF');
  return lines
    .map((r) => r.split(r.includes('\t') ? '\t' : ' '))
    .filter((v) => v[4] !== 'SIL' && v[4] !== '')
    .map((v) => ({ word: v[4], t: v[2], c: v[5], speaker: v[6] }));
}

// Silence in an 8-bit 3 kHz WAV file of the given length.
function writeSilence(file, seconds) {
  const rate = 3000;
  const frames = Math.ceil(seconds * rate);
  const header = Buffer.alloc(44);
  header.write('RIFF', 0);
  header.writeUInt32LE(36 + frames, 4);
  header.write('WAVEfmt ', 8);
  header.writeUInt32LE(16, 16);
  header.writeUInt16LE(1, 20);
  header.writeUInt16LE(1, 22);
  header.writeUInt32LE(rate, 24);
  header.writeUInt32LE(rate, 28);
  header.writeUInt16LE(1, 32);
  header.writeUInt16LE(8, 34);
  header.write('data', 36);
  header.writeUInt32LE(frames, 40);
  fs.writeFileSync(file, Buffer.concat([header, Buffer.alloc(frames, 128)]));
}

let browser;
let context;
let page;
let words;
const pageErrors = [];
const networkRequests = [];

async function openPage(file, initScript) {
  const p = await context.newPage();
  p.on('pageerror', (e) => pageErrors.push(`${path.basename(file)}: ${e.message}`));
  if (initScript) await p.addInitScript(initScript);
  return p;
}

before(async () => {
  words = expectedWords();
  browser = await chromium.launch({
    executablePath: chromiumPath,
    headless: true,
    chromiumSandbox: false,
    args: [
      '--proxy-server=http://127.0.0.1:9',
      '--proxy-bypass-list=<-loopback>',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      '--no-first-run',
      '--autoplay-policy=no-user-gesture-required',
    ],
  });
  context = await browser.newContext({ viewport: { width: 1000, height: 800 } });
  await context.route('**/*', async (route) => {
    const url = route.request().url();
    if (url.startsWith('file:')) return route.continue();
    networkRequests.push(url);
    return route.abort();
  });
  context.on('request', (r) => {
    if (!r.url().startsWith('file:') && !networkRequests.includes(r.url())) networkRequests.push(r.url());
  });
  page = await openPage(pagePath);
  await page.goto(pathToFileURL(pagePath).href);
  await page.waitForSelector('html[data-ready]');
});

after(async () => {
  await browser?.close();
});

async function audio(p = page) {
  return p.$eval('#audioPlayer', (a) => ({ currentTime: a.currentTime, paused: a.paused, error: a.error?.code ?? null }));
}

// Moves the recording to t and waits until the page has had its update.
async function seek(t, p = page) {
  await p.$eval(
    '#audioPlayer',
    (a, t) =>
      new Promise((done) => {
        a.addEventListener('seeked', () => setTimeout(done, 0), { once: true });
        a.currentTime = t;
      }),
    t,
  );
}

async function currentWords(p = page) {
  return p.$$eval('[aria-current]', (els) => els.map((e) => e.textContent + '@' + e.getAttribute('data-t')));
}

test('the page runs offline: no request leaves the machine, no script error, no script or style from elsewhere', async () => {
  assert.deepEqual(networkRequests, []);
  assert.deepEqual(pageErrors, []);
  const html = fs.readFileSync(pagePath, 'utf8');
  assert.doesNotMatch(html, /<script[^>]+src=|<link[^>]+href=|https?:\/\//);
  // The recording is the joined file, played from the page's folder.
  assert.equal(await page.$eval('source', (s) => s.getAttribute('src')), 'interview.wav');
  await page.$eval('#audioPlayer', (a) => (a.readyState >= 1 ? null : new Promise((d) => a.addEventListener('loadedmetadata', d, { once: true }))));
  assert.equal((await audio()).error, null);
});

test('one span per shown word with its start and confidence, in speaker paragraphs', async () => {
  const shown = await page.$$eval('span.w', (els) =>
    els.map((e) => ({ word: e.textContent, t: e.getAttribute('data-t'), c: e.getAttribute('data-c'), speaker: e.parentNode.getAttribute('data-s') })),
  );
  assert.ok(words.length > 10);
  assert.deepEqual(shown, words);
  // A heading wherever the speaker changes, none where the speaker goes on;
  // a glue of two halves has no part headings.
  const headings = await page.$$eval('main h2, main h3', (els) => els.map((e) => e.textContent));
  const changes = words.filter((w, i) => i === 0 || w.speaker !== words[i - 1].speaker).map((w) => w.speaker);
  assert.deepEqual(headings, changes);
  assert.equal(await page.locator('h2.part').count(), 0);
});

test('the words below the confidence threshold, and only they, are marked, and not by colour alone', async () => {
  const marked = await page.$$eval('span.w', (els) => els.map((e) => e.classList.contains('low')));
  assert.deepEqual(marked, words.map((w) => Number(w.c) < 0.9));
  assert.ok(marked.includes(true) && marked.includes(false), 'the example has words on both sides');
  const i = marked.indexOf(true);
  const style = await page.locator('span.w').nth(i).evaluate((e) => getComputedStyle(e).textDecorationStyle + ' ' + getComputedStyle(e).textDecorationLine);
  assert.equal(style, 'dotted underline');
});

test('an "<unk>" word shows as the text "<unk>"', async () => {
  const i = words.findIndex((w) => w.word === '<unk>');
  assert.ok(i >= 0, 'the example holds an <unk> word');
  assert.equal(await page.locator('span.w').nth(i).textContent(), '<unk>');
});

test('aria-current marks the one word that was last to start, as the audio moves', async () => {
  const ts = words.map((w) => Number(w.t));
  for (const k of [0, Math.floor(ts.length / 2), ts.length - 2]) {
    const t = (ts[k] + ts[k + 1]) / 2;
    await seek(t);
    assert.deepEqual(await currentWords(), [`${words[k].word}@${words[k].t}`], `at ${t} s`);
    assert.equal(await page.textContent('#displayTimer'), (await audio()).currentTime.toFixed(1));
    const shadow = await page.locator('[aria-current]').evaluate((e) => getComputedStyle(e).boxShadow);
    assert.notEqual(shadow, 'none', 'the current word has a frame, not only a colour');
  }
  await seek(Math.max(ts[0] - 0.2, 0));
  assert.deepEqual(await currentWords(), ts[0] > 0.2 ? [] : [`${words[0].word}@${words[0].t}`]);

  // While it plays, the mark moves on by itself.
  const k = Math.floor(ts.length / 3);
  await seek(ts[k] + 0.01);
  await page.$eval('#audioPlayer', (a) => a.play());
  await page.waitForFunction((t) => document.getElementById('audioPlayer').currentTime > t, ts[k + 2] + 0.05, { timeout: 10000 });
  await page.$eval('#audioPlayer', (a) => a.pause());
  const now = (await audio()).currentTime;
  const expected = ts.findLastIndex((t) => t <= now + 0.001);
  assert.ok(expected >= k + 2);
  await page.waitForFunction((n) => document.querySelector('[aria-current]')?.getAttribute('data-t') === n, words[expected].t);
});

test('a click on a word plays from its start and fills the information table', async () => {
  const i = Math.floor(words.length / 2);
  const t = Number(words[i].t);
  await page.locator('span.w').nth(i).click();
  await page.waitForFunction((t) => {
    const a = document.getElementById('audioPlayer');
    return !a.paused && a.currentTime > t + 0.05;
  }, t, { timeout: 10000 });
  const a = await audio();
  assert.ok(a.currentTime >= t && a.currentTime < t + 5, `currentTime ${a.currentTime} after ${t}`);
  await page.$eval('#audioPlayer', (a) => a.pause());
  assert.equal(await page.textContent('#timeindex'), t.toFixed(3));
  assert.equal(await page.textContent('#confidence'), words[i].c);
  assert.equal(await page.textContent('#speaker'), words[i].speaker);
});

test('keys: Tab reaches a word, arrows go word by word, Enter plays from the focused word, Space pauses and plays', async () => {
  await page.$eval('#audioPlayer', (a) => a.pause());
  await page.evaluate(() => document.activeElement?.blur());
  await page.evaluate(() => window.scrollTo(0, 0));
  await page.locator('h1').click();
  // Tab goes through the player to the transcript.
  const focused = () => page.evaluate(() => document.activeElement.getAttribute('data-t'));
  for (let k = 0; k < 12 && !(await focused()); k++) await page.keyboard.press('Tab');
  assert.ok(await focused(), 'Tab reaches a word');
  const first = await focused();
  const i = words.findIndex((w) => w.t === first);
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('ArrowRight');
  assert.equal(await focused(), words[i + 2].t);
  await page.keyboard.press('ArrowLeft');
  assert.equal(await focused(), words[i + 1].t);
  // The focused word shows what it is, as a hovered one does.
  assert.equal(await page.textContent('#confidence'), words[i + 1].c);
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => !document.getElementById('audioPlayer').paused);
  const a = await audio();
  assert.ok(a.currentTime >= Number(words[i + 1].t) && a.currentTime < Number(words[i + 1].t) + 3, `${a.currentTime}`);
  await page.keyboard.press(' ');
  assert.equal((await audio()).paused, true);
  await page.keyboard.press(' ');
  assert.equal((await audio()).paused, false);
  await page.keyboard.press(' ');
  // Tab leaves the transcript after one word: the other words are reached by the arrows.
  await page.keyboard.press('Tab');
  assert.equal(await focused(), null);
});

test('search highlights every match, Enter seeks to the next one', async () => {
  await seek(0);
  const term = words.find((w, i) => i > 3 && words.filter((v) => v.word.toLowerCase() === w.word.toLowerCase()).length >= 2).word;
  const expected = words.map((w, i) => (w.word.toLowerCase().includes(term.toLowerCase()) ? i : -1)).filter((i) => i >= 0);
  await page.fill('#search', term);
  await page.waitForFunction((n) => document.querySelectorAll('span.w.hit').length === n, expected.length);
  const hits = await page.$$eval('span.w', (els) => els.map((e, i) => (e.classList.contains('hit') ? i : -1)).filter((i) => i >= 0));
  assert.deepEqual(hits, expected);
  assert.equal(await page.textContent('#searchStatus'), `${expected.length} matches`);
  await page.press('#search', 'Enter');
  await page.waitForFunction((t) => Math.abs(document.getElementById('audioPlayer').currentTime - t) < 0.3, Number(words[expected[0]].t));
  await page.press('#search', 'Enter');
  await page.waitForFunction((t) => Math.abs(document.getElementById('audioPlayer').currentTime - t) < 0.3, Number(words[expected[1]].t));
  assert.equal(await page.textContent('#searchStatus'), `2 of ${expected.length}`);
  await page.$eval('#audioPlayer', (a) => a.pause());
  // A phrase of two words matches across them.
  const phrase = `${words[5].word} ${words[6].word}`;
  await page.fill('#search', phrase);
  await page.waitForFunction(() => document.querySelectorAll('span.w.hit').length >= 2);
  const first = await page.$$eval('span.w', (els) => els.findIndex((e) => e.classList.contains('hit')));
  assert.ok(first <= 5);
  await page.fill('#search', '');
  await page.waitForFunction(() => document.querySelectorAll('span.w.hit').length === 0);
});

test('axe-core finds no violations on the page', async () => {
  await page.addScriptTag({ path: axeFile });
  const result = await page.evaluate(() => window.axe.run(document));
  assert.deepEqual(result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(', ')}`), []);
  assert.ok(result.passes.length > 10);
});

test('a screenshot of the page is kept', async () => {
  const i = words.findIndex((w) => w.word === '<unk>');
  await seek(Number(words[i].t) + 0.01);
  await page.fill('#search', words[3].word);
  await page.waitForFunction(() => document.querySelectorAll('span.w.hit').length > 0);
  await page.locator('span.w').nth(i + 2).hover();
  fs.mkdirSync(artifactDir, { recursive: true });
  const file = path.join(artifactDir, 'standalone.png');
  await page.screenshot({ path: file });
  assert.ok(fs.statSync(file).size > 1000);
  assert.deepEqual(pageErrors, []);
});

test('the page works from a web server as well', async () => {
  // A plain file server on the loopback, with byte ranges as web servers
  // answer them, so the player can seek.
  const dir = path.dirname(pagePath);
  const server = http.createServer((req, res) => {
    const file = path.join(dir, decodeURIComponent(new URL(req.url, 'http://x').pathname));
    if (!file.startsWith(dir + path.sep) || !fs.existsSync(file)) {
      res.writeHead(404).end();
      return;
    }
    const size = fs.statSync(file).size;
    const type = file.endsWith('.html') ? 'text/html' : 'audio/wav';
    const range = /^bytes=(\d+)-(\d*)$/.exec(req.headers.range ?? '');
    if (range) {
      const start = Number(range[1]);
      const end = range[2] ? Number(range[2]) : size - 1;
      res.writeHead(206, { 'Content-Type': type, 'Content-Range': `bytes ${start}-${end}/${size}`, 'Content-Length': end - start + 1, 'Accept-Ranges': 'bytes' });
      fs.createReadStream(file, { start, end }).pipe(res);
    } else {
      res.writeHead(200, { 'Content-Type': type, 'Content-Length': size, 'Accept-Ranges': 'bytes' });
      fs.createReadStream(file).pipe(res);
    }
  });
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  const origin = `http://127.0.0.1:${server.address().port}`;
  // A browser of its own that reaches that server and nothing else.
  const served = await chromium.launch({ executablePath: chromiumPath, headless: true, chromiumSandbox: false,
    args: ['--disable-background-networking', '--disable-component-update', '--no-first-run'] });
  try {
    const ctx = await served.newContext();
    const elsewhere = [];
    await ctx.route('**/*', (route) => {
      if (route.request().url().startsWith(origin + '/')) return route.continue();
      elsewhere.push(route.request().url());
      return route.abort();
    });
    const p = await ctx.newPage();
    const errors = [];
    p.on('pageerror', (e) => errors.push(e.message));
    await p.goto(`${origin}/${path.basename(pagePath)}`);
    await p.waitForSelector('html[data-ready]');
    const i = Math.floor(words.length / 2);
    await p.locator('span.w').nth(i).click();
    await p.waitForFunction((t) => Math.abs(document.getElementById('audioPlayer').currentTime - t) < 0.5, Number(words[i].t));
    await p.waitForFunction((t) => document.querySelector('[aria-current]')?.getAttribute('data-t') === t, words[i].t);
    assert.deepEqual(errors, []);
    assert.deepEqual(elsewhere, []);
  } finally {
    await served.close();
    server.close();
  }
});

// --- The long page --------------------------------------------------------

// How soon after navigation start the click lands is printed, not asserted:
// timings belong to the benchmarks, and a busy machine would make it flaky.
test('30,000 words: a click on the last word as soon as the document is read seeks to that word', async () => {
  const wav = path.join(path.dirname(longPath), 'long.wav');
  if (!fs.existsSync(wav)) writeSilence(wav, 30000 * 0.3 + 60);
  // The moment of the first seek, in ms after the navigation started.
  const p = await openPage(longPath, () => {
    document.addEventListener('seeking', (e) => {
      if (window.firstSeek === undefined) window.firstSeek = { at: performance.now(), t: e.target.currentTime };
    }, true);
  });
  await p.goto(pathToFileURL(longPath).href, { waitUntil: 'commit' });
  // The last word is there once the document is read to its end.
  await p.waitForFunction(() => document.readyState !== 'loading', null, { polling: 10 });
  await p.locator('span.w').last().click();
  await p.waitForFunction(() => window.firstSeek !== undefined, null, { timeout: 10000 });
  const { at, t } = await p.evaluate(() => window.firstSeek);
  const read = await p.evaluate(() => performance.getEntriesByType('navigation')[0].domInteractive);
  console.log(`# 30,000 words: the document was read ${read.toFixed(0)} ms after navigation start`);
  const last = Number(await p.locator('span.w').last().getAttribute('data-t'));
  console.log(`# 30,000 words: the click on the last word seeked ${at.toFixed(0)} ms after navigation start`);
  assert.ok(Math.abs(t - last) < 0.01, `seeked to ${t}, the last word starts at ${last}`);
  await p.$eval('#audioPlayer', (a) => a.pause());
  await p.close();
});

test('30,000 words: following scrolls the current word into view, pauses when the reader scrolls, resumes with Follow', async () => {
  const p = await openPage(longPath);
  await p.goto(pathToFileURL(longPath).href);
  await p.waitForSelector('html[data-ready]');
  const starts = await p.$$eval('span.w', (els) => els.map((e) => Number(e.getAttribute('data-t'))));
  const inView = () => p.$eval('[aria-current]', (e) => {
    const r = e.getBoundingClientRect();
    return r.top >= 0 && r.bottom <= window.innerHeight - document.getElementById('bar').offsetHeight;
  });
  await seek(starts[20000] + 0.01, p);
  assert.equal(await p.$eval('[aria-current]', (e) => e.getAttribute('data-t')), starts[20000].toFixed(3));
  assert.ok(await inView(), 'following brings the current word into view');
  assert.equal(await p.getAttribute('#follow', 'aria-pressed'), 'true');

  // The reader scrolls away: following pauses and the page stays where the reader is.
  await p.mouse.move(500, 300);
  await p.mouse.wheel(0, -3000);
  await p.waitForFunction(() => document.getElementById('follow').getAttribute('aria-pressed') === 'false');
  // What the reader sees: the paragraph under a point of the view, by its
  // first word, and where it is. (Paragraphs far from the view are laid out
  // only when they come near it; the browser keeps what is shown in place
  // as their sizes become known, so scrollY alone may move.)
  const shown = () => p.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(() => {
    let para = null;
    for (let y = 100; !para && y < 500; y += 8) para = document.elementFromPoint(window.innerWidth / 2, y)?.closest('p');
    r(para ? `${para.firstElementChild.getAttribute('data-t')}@${Math.round(para.getBoundingClientRect().top)}` : null);
  }))));
  const before = await shown();
  assert.ok(before, 'a paragraph is in view');
  await seek(starts[25000] + 0.01, p);
  assert.equal(await p.$eval('[aria-current]', (e) => e.getAttribute('data-t')), starts[25000].toFixed(3));
  assert.equal(await shown(), before);
  assert.equal(await inView(), false);

  // Follow brings the current word back and following on.
  await p.click('#follow');
  assert.equal(await p.getAttribute('#follow', 'aria-pressed'), 'true');
  assert.ok(await inView());
  await seek(starts[29000] + 0.01, p);
  assert.ok(await inView());
  assert.deepEqual(pageErrors, []);
  assert.deepEqual(networkRequests, []);
  await p.close();
});
