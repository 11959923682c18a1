// Reads the word-timed WebVTT file Save wrote through Chromium's own WebVTT
// parser (a <track> of a <video>), and compares what it finds with the SRT
// and the word file Save wrote beside it: the same cues, the same texts,
// and word times that are the starts of the words.
//
//   node wordvtt.test.mjs INTERVIEW.vtt
//
// INTERVIEW.srt and INTERVIEW.spk (or .ctm) lie beside it. CHROMIUM names
// the browser (default /usr/bin/chromium). Node.js 18 or later.

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { chromium } from 'playwright-core';

const vttPath = path.resolve(process.argv[2] ?? '');
const base = vttPath.replace(/\.vtt$/, '');
const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

// "hh:nn:ss,zzz" or "hh:nn:ss.zzz" to ms.
function ms(time) {
  const [h, m, s] = time.trim().split(':');
  return Math.round((Number(h) * 3600 + Number(m) * 60 + Number(s.replace(',', '.'))) * 1000);
}

// The SRT's cues: UTF-8 with a byte-order mark, CR LF.
function srtCues() {
  const text = fs.readFileSync(base + '.srt', 'utf8').replace(/^\uFEFF/, '');
  return text
    .split('\r\n\r\n')
    .filter((block) => block.trim() !== '')
    .map((block) => {
      const lines = block.split('\r\n');
      const [start, end] = lines[1].split(' --> ');
      return { start: ms(start), end: ms(end), text: lines.slice(2).join('\n') };
    });
}

// The word file's words: their starts and speakers.
function wordFile() {
  const file = ['.spk', '.ctm'].map((e) => base + e).find((f) => fs.existsSync(f));
  const lines = fs.readFileSync(file, 'utf8').replace(/^\uFEFF/, '').split('\r\n').filter((l) => l);
  const fields = lines.map((l) => l.split(l.includes('\t') ? '\t' : ' '));
  return { starts: new Set(fields.map((f) => ms('0:0:' + f[2]))), speakers: new Set(fields.map((f) => f[6])) };
}

let browser;
let cues;

before(async () => {
  browser = await chromium.launch({ executablePath: chromiumPath, headless: true, chromiumSandbox: false });
  const page = await browser.newPage();
  await page.setContent('<video></video>');
  // A blob address is of the page's own origin: the track loads without a server.
  cues = await page.evaluate(async (vtt) => {
    const video = document.querySelector('video');
    const track = document.createElement('track');
    track.kind = 'subtitles';
    track.src = URL.createObjectURL(new Blob([vtt], { type: 'text/vtt' }));
    const loaded = new Promise((resolve, reject) => {
      track.addEventListener('load', resolve);
      track.addEventListener('error', () => reject(new Error('the track did not load')));
    });
    video.appendChild(track);
    track.track.mode = 'hidden';
    await loaded;
    return Array.from(track.track.cues).map((cue) => {
      const html = cue.getCueAsHTML();
      const stamps = [];
      const voices = [];
      const walker = document.createTreeWalker(html, NodeFilter.SHOW_ALL);
      for (let n = walker.nextNode(); n; n = walker.nextNode()) {
        if (n.nodeType === Node.PROCESSING_INSTRUCTION_NODE && n.target === 'timestamp') stamps.push(n.data);
        if (n.nodeType === Node.ELEMENT_NODE && n.hasAttribute('title')) voices.push(n.getAttribute('title'));
      }
      return { start: cue.startTime, end: cue.endTime, text: html.textContent, stamps, voices };
    });
  }, fs.readFileSync(vttPath, 'utf8'));
});

after(async () => {
  await browser?.close();
});

test('the cues are those of the SRT: times and texts', () => {
  const srt = srtCues();
  assert.ok(srt.length > 5, 'the example has cues');
  assert.deepEqual(
    cues.map((c) => ({ start: Math.round(c.start * 1000), end: Math.round(c.end * 1000), text: c.text })),
    srt,
  );
});

test('every word after a cue\'s first has the start of a word, in order, within its cue', () => {
  const { starts } = wordFile();
  let stamped = 0;
  for (const cue of cues) {
    const words = cue.text.split(/\s+/).filter((w) => w);
    assert.ok(cue.stamps.length <= words.length - 1 || words.length === 0, `${cue.text}: ${cue.stamps}`);
    let last = Math.round(cue.start * 1000);
    for (const stamp of cue.stamps) {
      // Chromium shows a timestamp cut to whole ms from its double: 16.377 as 16.376.
      const t = ms(stamp);
      assert.ok(starts.has(t) || starts.has(t + 1), `${stamp} in "${cue.text}" is no word's start`);
      assert.ok(t >= last - 1 && t <= Math.round(cue.end * 1000), `${stamp} in "${cue.text}" out of order`);
      last = t;
    }
    stamped += cue.stamps.length;
  }
  const words = cues.reduce((n, c) => n + c.text.split(/\s+/).filter((w) => w).length - 1, 0);
  assert.ok(stamped >= words * 0.9, `${stamped} of ${words} words have their time`);
});

test('the voices are the speakers of the word file, each cue in one at least', () => {
  const { speakers } = wordFile();
  for (const cue of cues) {
    assert.ok(cue.voices.length >= 1, `"${cue.text}" has no voice`);
    for (const voice of cue.voices) assert.ok(speakers.has(voice), `${voice} is no speaker`);
  }
});
