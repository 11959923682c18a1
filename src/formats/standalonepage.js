// The transcript follows the player. Everything the page needs is in this
// file: no library, no network.
(function () {
  'use strict';
  // The script runs before the transcript is read, so a click on a word
  // plays it as soon as the word shows; what needs every word waits for the
  // whole document.
  var audio = document.getElementById('audioPlayer');
  var timer = document.getElementById('displayTimer');
  var followButton = document.getElementById('follow');
  var search = document.getElementById('search');
  var searchStatus = document.getElementById('searchStatus');
  var bar = document.getElementById('bar');
  var infoTime = document.getElementById('timeindex');
  var infoConfidence = document.getElementById('confidence');
  var infoSpeaker = document.getElementById('speaker');
  var ready = false;
  var n = 0;
  var starts = new Float64Array(0);
  var paragraphs = [];              // the transcript's paragraphs, in order
  var firstWord = new Int32Array(1); // the index of each paragraph's first word

  // Every word once, in reading order, with its start in seconds, from the
  // timing block after the transcript: the words themselves are not read.
  // A start that is no number takes the one before it, so the starts never
  // go back and a binary search over them is sound.
  function init() {
    var transcript = document.getElementById('transcript');
    var timing = JSON.parse(document.getElementById('timing').textContent);
    var counts = timing.p;
    firstWord = new Int32Array(counts.length + 1);
    var j = 0;
    for (var chunk = transcript.firstElementChild; chunk; chunk = chunk.nextElementSibling) {
      for (var child = chunk.firstElementChild; child; child = child.nextElementSibling) {
        if (child.tagName !== 'P') continue;
        child.paragraphIndex = j;
        paragraphs.push(child);
        firstWord[j + 1] = firstWord[j] + counts[j];
        j++;
      }
    }
    var steps = timing.t;
    n = steps.length;
    starts = new Float64Array(n);
    var last = 0, ms = 0;
    for (var k = 0; k < n; k++) {
      var t;
      if (steps[k] === null) {
        t = parseFloat(wordEl(k).getAttribute('data-t'));
      } else {
        ms += steps[k];
        t = ms / 1000;
      }
      if (!(t >= last)) t = last;
      starts[k] = last = t;
    }
    ready = true;
    update();
    document.documentElement.setAttribute('data-ready', 'true');
  }

  // Word k's element: its paragraph by binary search, then its place there.
  function wordEl(k) {
    var lo = 0, hi = paragraphs.length;
    while (lo < hi) {
      var mid = (lo + hi) >> 1;
      if (firstWord[mid] <= k) lo = mid + 1; else hi = mid;
    }
    return paragraphs[lo - 1].children[k - firstWord[lo - 1]];
  }

  // The word after el, in the next paragraph where el is its paragraph's last.
  function nextWord(el) {
    var next = el.nextElementSibling;
    if (next) return next;
    var j = el.parentNode.paragraphIndex + 1;
    return j < paragraphs.length ? paragraphs[j].firstElementChild : null;
  }

  // The index of a word's element.
  function indexOf(el) {
    var k = firstWord[el.parentNode.paragraphIndex];
    for (var s = el.previousElementSibling; s; s = s.previousElementSibling) k++;
    return k;
  }

  function startOf(el) {
    return ready ? starts[indexOf(el)] : parseFloat(el.getAttribute('data-t')) || 0;
  }

  // The last word that started at or before time t, -1 before the first.
  // A seek to a word's start may land a hair before it.
  function wordAt(t) {
    t += 0.001;
    var lo = 0, hi = n;
    while (lo < hi) {
      var mid = (lo + hi) >> 1;
      if (starts[mid] <= t) lo = mid + 1; else hi = mid;
    }
    return lo - 1;
  }

  // --- Following ----------------------------------------------------------
  var current = -1;
  var following = true;
  var userScrollAt = -1e9;   // when the reader last did something that scrolls

  function setFollowing(on) {
    following = on;
    if (on) userScrollAt = -1e9;
    followButton.setAttribute('aria-pressed', on ? 'true' : 'false');
    if (on && current >= 0) reveal(wordEl(current), true);
  }

  // Scrolls an element into the upper part of the window when it is not
  // well inside the part above the player bar.
  function reveal(el, always) {
    var r = el.getBoundingClientRect();
    var view = window.innerHeight - bar.offsetHeight;
    if (always || r.top < view * 0.1 || r.bottom > view * 0.9)
      window.scrollBy(0, r.top - view * 0.3);
  }

  function update() {
    var t = audio.currentTime;
    var shown = t.toFixed(1);
    if (timer.firstChild.data !== shown) timer.firstChild.data = shown;
    if (!ready) return;
    var i = wordAt(t);
    if (i === current) return;
    // The look hangs on a class, the meaning on aria-current.
    if (current >= 0) {
      var was = wordEl(current);
      was.classList.remove('now');
      was.removeAttribute('aria-current');
    }
    current = i;
    if (i < 0) return;
    var now = wordEl(i);
    now.classList.add('now');
    now.setAttribute('aria-current', 'true');
    if (following) reveal(now, false);
  }
  audio.addEventListener('timeupdate', update);
  audio.addEventListener('seeked', update);

  // The reader scrolling (wheel, touch, scroll bar, keys) pauses following;
  // the page's own scrolling does not.
  function scrollIntent() { userScrollAt = performance.now(); }
  window.addEventListener('wheel', scrollIntent, { passive: true });
  window.addEventListener('touchmove', scrollIntent, { passive: true });
  document.addEventListener('mousedown', function (e) {
    if (e.target === document.documentElement) scrollIntent();
  });
  var scrollKeys = { PageUp: 1, PageDown: 1, Home: 1, End: 1, ArrowUp: 1, ArrowDown: 1 };
  window.addEventListener('scroll', function () {
    if (following && performance.now() - userScrollAt < 1000) setFollowing(false);
  }, { passive: true });
  followButton.addEventListener('click', function () { setFollowing(!following); });

  // --- Playing from a word --------------------------------------------------
  function playFrom(t) {
    audio.currentTime = t;
    var played = audio.play();
    if (played && played.catch) played.catch(function () {});
  }

  function wordOf(node) {
    return node && node.nodeType === 1 && node.classList.contains('w') ? node : null;
  }

  // Only one word at a time is in the Tab order: the one focused last
  // (at first the first word); the arrow keys go to the others.
  var focused = null;
  function makeFocusable(el) {
    if (focused === null) focused = document.querySelector('span.w[tabindex="0"]');
    if (focused && focused !== el) focused.setAttribute('tabindex', '-1');
    el.setAttribute('tabindex', '0');
    focused = el;
  }
  function focusWord(i) {
    if (!ready || i < 0 || i >= n) return;
    var el = wordEl(i);
    makeFocusable(el);
    el.focus();
  }

  document.addEventListener('click', function (e) {
    var el = wordOf(e.target);
    if (!el) return;
    makeFocusable(el);
    el.focus();
    playFrom(startOf(el));
  });

  // --- What a word is ---------------------------------------------------------
  function show(el) {
    infoTime.textContent = startOf(el).toFixed(3);
    infoConfidence.textContent = el.getAttribute('data-c');
    infoSpeaker.textContent = el.parentNode.getAttribute('data-s') || '';
  }
  document.addEventListener('mouseover', function (e) {
    var el = wordOf(e.target);
    if (el) show(el);
  });
  document.addEventListener('focusin', function (e) {
    var el = wordOf(e.target);
    if (!el) return;
    makeFocusable(el);
    show(el);
  });

  // --- Keys -----------------------------------------------------------------
  document.addEventListener('keydown', function (e) {
    if (e.altKey || e.ctrlKey || e.metaKey) return;
    var target = e.target;
    var tag = target.tagName;
    var inField = tag === 'INPUT' || tag === 'TEXTAREA' || tag === 'SELECT' || tag === 'BUTTON' ||
        tag === 'AUDIO' || target.isContentEditable;
    var el = wordOf(target);
    if (e.key === ' ' && !inField) {
      e.preventDefault();
      if (audio.paused) {
        var played = audio.play();
        if (played && played.catch) played.catch(function () {});
      } else {
        audio.pause();
      }
    } else if ((e.key === 'ArrowRight' || e.key === 'ArrowLeft') && !inField) {
      e.preventDefault();
      if (!ready) return;
      var from = el ? indexOf(el) : (current >= 0 ? current : -1);
      focusWord(e.key === 'ArrowRight' ? from + 1 : Math.max(from - 1, 0));
    } else if (e.key === 'Enter' && el) {
      e.preventDefault();
      playFrom(startOf(el));
    } else if (!inField && scrollKeys[e.key]) {
      scrollIntent();
    }
  });

  // --- Search ---------------------------------------------------------------
  // All words as one lower-case text, each word's offset in it, made on the
  // first search; a match is the words it touches.
  var text = null, offsets = null;
  var hits = [];       // first word of each match
  var hitWords = [];   // every word shown as a match
  var chosen = -1;     // the match Enter went to last
  function prepare() {
    if (text !== null) return;
    var parts = new Array(n);
    offsets = new Int32Array(n + 1);
    var at = 0, i = 0;
    for (var j = 0; j < paragraphs.length; j++) {
      for (var el = paragraphs[j].firstElementChild; el; el = el.nextElementSibling, i++) {
        var w = el.textContent.toLowerCase();
        parts[i] = w;
        offsets[i] = at;
        at += w.length + 1;
      }
    }
    offsets[n] = at;
    text = parts.join(' ');
  }
  function wordAtOffset(o) {
    var lo = 0, hi = n;
    while (lo < hi) {
      var mid = (lo + hi) >> 1;
      if (offsets[mid] <= o) lo = mid + 1; else hi = mid;
    }
    return lo - 1;
  }
  function clearHits() {
    for (var i = 0; i < hitWords.length; i++) wordEl(hitWords[i]).classList.remove('hit');
    hits = [];
    hitWords = [];
    chosen = -1;
  }
  function runSearch() {
    if (!ready) return;
    clearHits();
    var q = search.value.trim().replace(/\s+/g, ' ').toLowerCase();
    if (q === '') { searchStatus.textContent = ''; return; }
    prepare();
    var at = text.indexOf(q);
    while (at >= 0) {
      var first = wordAtOffset(at);
      var end = wordAtOffset(at + q.length - 1);
      hits.push(first);
      for (var i = first, el = wordEl(first); i <= end; i++, el = nextWord(el)) {
        el.classList.add('hit');
        hitWords.push(i);
      }
      at = text.indexOf(q, offsets[end + 1]);
    }
    searchStatus.textContent = hits.length === 1 ? '1 match' : hits.length + ' matches';
  }
  var searchTimer = 0;
  search.addEventListener('input', function () {
    clearTimeout(searchTimer);
    searchTimer = setTimeout(runSearch, 150);
  });
  search.addEventListener('keydown', function (e) {
    if (e.key !== 'Enter' || !ready) return;
    e.preventDefault();
    clearTimeout(searchTimer);
    if (chosen < 0) runSearch();
    if (hits.length === 0) return;
    // Enter goes to the next match after the last one, Shift+Enter back.
    if (chosen < 0) {
      var from = current >= 0 ? current : -1;
      chosen = 0;
      while (chosen < hits.length && hits[chosen] <= from) chosen++;
      if (e.shiftKey) chosen--;
      chosen = (chosen + hits.length) % hits.length;
    } else {
      chosen = (chosen + (e.shiftKey ? hits.length - 1 : 1)) % hits.length;
    }
    searchStatus.textContent = (chosen + 1) + ' of ' + hits.length;
    playFrom(starts[hits[chosen]]);
    setFollowing(true);
    reveal(wordEl(hits[chosen]), true);
  });

  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', init);
  else init();
})();
