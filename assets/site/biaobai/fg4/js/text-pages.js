/* Full-screen pages of text that follow one another, like a little book that turns itself.
 *
 *   ZR.textPages.start({
 *     root:     element that holds the pages (.tp-page) and listens for taps and swipes
 *     end:      optional closing page (.tp-page.tp-end): shown after the last page, no timer
 *     progress: optional element, filled with one bar per page that fills while it is shown
 *     split:    optional selector: short texts matching it rise in character by character
 *     dwell:    seconds a short page stays (default 3.8); longer texts stay longer, up to
 *     maxDwell: (default 12)
 *     loop:     without a closing page, start over after the last page
 *     onShow:   function (index, page) after every turn
 *   })
 *
 * Pages whose texts (.tp-text) are all empty are skipped; empty texts are hidden; every text
 * gets data-len (s, m, l, xl, xxl) by its length, for the style sheet to size it. The reader
 * moves on with a tap (a tap on the left edge goes back), a swipe or the arrow keys; holding a
 * finger down pauses. The first tap that only starts the music does not turn the page.
 * With less motion there is no timer: the style sheet lays every page out one below the other.
 * Returns { go(i), next(), prev(), restart(), stop(), count } (count: pages with text).
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  // Ideographs and full-width forms are one character each; a run of anything else is a
  // word; closing punctuation stays with the character before it, so it never starts a line.
  var PIECES =
    /[\u2e80-\u9fff\uf900-\ufaff\uac00-\ud7af][，。！？、；：”’）》」』】…—～,.!?;:)\]]*|[^\s\u2e80-\u9fff\uf900-\ufaff\uac00-\ud7af]+|\s+/g;
  var SPLIT_LIMIT = 40;

  function isBlank(el) {
    return el.textContent.trim() === '';
  }

  function textLength(el) {
    return el.textContent.replace(/\s+/g, '').length;
  }

  // A size class for the style sheet: short texts can be shown larger.
  function lengthClass(n) {
    return n <= 5 ? 's' : n <= 8 ? 'm' : n <= 14 ? 'l' : n <= 30 ? 'xl' : 'xxl';
  }

  function splitCharacters(el) {
    var text = el.textContent;
    if (!text.trim() || textLength(el) > SPLIT_LIMIT || el.children.length) return;
    var pieces = text.trim().match(PIECES) || [];
    var fragment = document.createDocumentFragment();
    var n = 0;
    pieces.forEach(function (piece) {
      if (/^\s+$/.test(piece)) {
        fragment.appendChild(document.createTextNode(' '));
        return;
      }
      var span = document.createElement('span');
      span.className = 'tp-char';
      span.style.setProperty('--i', String(n++));
      span.textContent = piece;
      fragment.appendChild(span);
    });
    el.textContent = '';
    el.appendChild(fragment);
  }

  // Sets a page's classes at once, without the style sheet's transitions.
  function jump(el, change) {
    el.style.transition = 'none';
    change();
    void el.offsetWidth;
    el.style.transition = '';
  }

  function startPages(options) {
    var root = options.root;
    var end = options.end || null;
    var still = ZR.reducedMotion();
    var baseDwell = options.dwell || 3.8;
    var maxDwell = options.maxDwell || 12;

    var all = Array.prototype.slice.call(root.querySelectorAll('.tp-page')).filter(function (page) {
      return page !== end;
    });
    var pages = all.filter(function (page) {
      var texts = Array.prototype.slice.call(page.querySelectorAll('.tp-text'));
      texts.forEach(function (t) {
        t.classList.toggle('tp-empty', isBlank(t));
        t.setAttribute('data-len', lengthClass(textLength(t)));
      });
      var empty = texts.every(isBlank);
      page.classList.toggle('tp-skip', empty);
      page.classList.remove('is-current', 'is-before');
      return !empty;
    });
    pages.forEach(function (page, i) {
      page.setAttribute('data-n', (i < 9 ? '0' : '') + (i + 1));
      if (options.split && !still) {
        Array.prototype.forEach.call(page.querySelectorAll(options.split), splitCharacters);
      }
    });
    var stops = end ? pages.concat([end]) : pages.slice();
    if (end) end.classList.remove('is-current', 'is-before');
    root.classList.toggle('tp-static', still);
    root.classList.toggle('tp-alone', pages.length <= 1);

    var bars = [];
    if (options.progress) {
      options.progress.textContent = '';
      options.progress.hidden = still || pages.length <= 1;
      pages.forEach(function () {
        var seg = document.createElement('span');
        seg.className = 'tp-seg';
        var fill = document.createElement('i');
        seg.appendChild(fill);
        options.progress.appendChild(seg);
        bars.push(fill);
      });
    }

    var current = -1;
    var elapsed = 0;
    var dwell = baseDwell;
    var held = false;
    var stopLoop = null;
    var removers = [];

    function on(target, type, fn, opts) {
      target.addEventListener(type, fn, opts);
      removers.push(function () {
        target.removeEventListener(type, fn, opts);
      });
    }

    function dwellOf(page) {
      var chars = 0;
      Array.prototype.forEach.call(page.querySelectorAll('.tp-text'), function (t) {
        chars += textLength(t);
      });
      // Time to read: a short page keeps the base pace, a long one a little more per character.
      return Math.min(maxDwell, baseDwell + Math.max(0, chars - 20) * 0.09);
    }

    function paintProgress() {
      var fraction = dwell > 0 ? Math.min(1, elapsed / dwell) : 0;
      bars.forEach(function (fill, i) {
        var value = i < current ? 1 : i === current ? fraction : 0;
        fill.style.transform = 'scaleX(' + value.toFixed(4) + ')';
      });
    }

    function go(target, direction) {
      if (!stops.length) return;
      target = Math.max(0, Math.min(stops.length - 1, target));
      if (target === current) return;
      var dir = direction || (target > current ? 1 : -1);
      var old = current;
      stops.forEach(function (page, i) {
        if (i !== target && i !== old) page.classList.toggle('is-before', i < target);
      });
      var incoming = stops[target];
      jump(incoming, function () {
        incoming.classList.toggle('is-before', dir < 0);
      });
      if (old >= 0) {
        stops[old].classList.remove('is-current');
        stops[old].classList.toggle('is-before', dir > 0);
      }
      incoming.classList.add('is-current');
      incoming.scrollTop = 0;
      current = target;
      elapsed = 0;
      dwell = incoming === end ? 0 : dwellOf(incoming);
      // The closing page's picture loads a little before it is needed.
      if (end && target >= stops.length - 4) end.classList.add('is-near');
      root.setAttribute('data-at', incoming === end ? 'end' : String(target + 1));
      paintProgress();
      if (options.onShow) options.onShow(target, incoming);
    }

    function next() {
      if (current < stops.length - 1) go(current + 1, 1);
      else if (options.loop && !end && stops.length > 1) go(0, 1);
    }

    function prev() {
      if (current > 0) go(current - 1, -1);
      else if (options.loop && !end && stops.length > 1) go(stops.length - 1, -1);
    }

    // Taps and swipes; a press held longer than a tap only pauses.
    var press = null;
    var promptSeen = false;
    function interactive(target) {
      return target && target.closest && target.closest('button, a, input, textarea, select, [data-tp-ignore]');
    }
    function musicPromptTap(pressed) {
      // The music's own listener starts playing on this very press and removes its prompt
      // at once, so the prompt is looked for when the finger goes down.
      if (pressed.prompt && !promptSeen) {
        promptSeen = true;
        return true;
      }
      return false;
    }
    function down(event) {
      if (event.button > 0 || interactive(event.target)) return;
      press = { x: event.clientX, y: event.clientY, t: Date.now(), prompt: !!document.querySelector('.zr-music-prompt') };
      held = true;
    }
    function up(event) {
      held = false;
      if (!press) return;
      var dx = event.clientX - press.x;
      var dy = event.clientY - press.y;
      var time = Date.now() - press.t;
      var pressed = press;
      press = null;
      if (musicPromptTap(pressed)) return;
      if (Math.abs(dx) > 40 && Math.abs(dx) > Math.abs(dy) * 1.2) {
        if (dx < 0) next();
        else prev();
      } else if (Math.abs(dx) < 12 && Math.abs(dy) < 12 && time < 450) {
        var box = root.getBoundingClientRect();
        if (event.clientX - box.left < box.width * 0.28) prev();
        else next();
      }
    }
    function cancel() {
      held = false;
      press = null;
    }
    function key(event) {
      if (event.defaultPrevented || event.altKey || event.ctrlKey || event.metaKey) return;
      if (interactive(event.target)) return;
      var k = event.key;
      if (k === 'ArrowRight' || k === 'PageDown' || k === ' ' || k === 'Spacebar') {
        event.preventDefault();
        next();
      } else if (k === 'ArrowLeft' || k === 'PageUp') {
        event.preventDefault();
        prev();
      }
    }

    if (end) end.classList.add(still ? 'is-near' : 'tp-later');
    if (!still) {
      on(root, 'pointerdown', down);
      on(root, 'pointerup', up);
      on(root, 'pointercancel', cancel);
      on(root, 'pointerleave', cancel);
      on(document, 'keydown', key);
      go(0, 1);
      stopLoop = ZR.loop(function (seconds, dt) {
        if (held || !dwell || current >= stops.length) return;
        elapsed += dt;
        if (elapsed >= dwell) {
          if (current < stops.length - 1 || options.loop) next();
          else elapsed = dwell;
        }
        paintProgress();
      });
    } else {
      // Everything is laid out at once; the first page counts as the one shown.
      stops.forEach(function (page) {
        page.classList.add('is-current');
      });
      current = 0;
    }

    return {
      count: pages.length,
      go: function (i) {
        go(i);
      },
      next: next,
      prev: prev,
      restart: function () {
        if (still) {
          root.scrollTo ? root.scrollTo(0, 0) : (root.scrollTop = 0);
          return;
        }
        go(0, 1);
      },
      stop: function () {
        if (stopLoop) stopLoop();
        removers.forEach(function (remove) {
          remove();
        });
        removers = [];
      },
    };
  }

  ZR.textPages = { start: startPages };
})();
