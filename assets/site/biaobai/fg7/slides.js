/* The picture story of page style 7, told one slide at a time.
 *
 *   ZR.fg7Slides.start(root)
 *
 * `root` holds the slides (`.fg7-slide` with data-pic and data-fx, captions `.fg7-cap` inside),
 * the card with two <img> layers, the backdrop with two more, the progress bar, the buttons and
 * the end-heart canvas; data-pictures is the folder of the pictures, data-music the song.
 *
 * The captions of a slide appear one after another, each staying as long as it takes to read
 * it; then the next slide cross-fades in. A tap on the right (or a swipe to the left, or →)
 * goes on: first it shows the rest of the slide, then the next one. The left edge, a swipe to
 * the right or ← goes back. Empty captions are left out and a slide with none is skipped;
 * with every caption empty the pictures tell the story alone. The last slide ends on a heart
 * of light with a "再看一遍" button. Pictures load a few slides ahead, never all at once.
 * Under reduced motion nothing advances by itself and a slide shows all its captions at once.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  var AHEAD = 3; // slides whose pictures are fetched before they are needed

  function readingTime(text) {
    // Chinese reads at about six characters a second; short lines still get a moment.
    return Math.min(7.5, Math.max(2.6, 1.5 + text.length * 0.16));
  }

  function trimmed(el) {
    return (el.textContent || '').replace(/\s+/g, ' ').trim();
  }

  ZR.fg7Slides = {
    start: function (root) {
      if (!root) return null;
      // A title typed with quotes and brackets can break out of its meta tag and leave loose
      // text at the top of the body: it is not part of the story.
      Array.prototype.slice.call(document.body.childNodes).forEach(function (node) {
        if (node.nodeType === 3 && node.nodeValue.trim()) node.parentNode.removeChild(node);
      });
      var reduced = ZR.reducedMotion();
      var base = (root.getAttribute('data-pictures') || '').trim();
      var cardImgs = root.querySelectorAll('.fg7-card img');
      var backImgs = root.querySelectorAll('.fg7-backdrop img');
      var card = root.querySelector('.fg7-card');
      var story = root.querySelector('.fg7-story');
      var bar = root.querySelector('.fg7-progress i');
      var count = root.querySelector('.fg7-count');
      var hint = root.querySelector('.fg7-hint');
      var prevButton = root.querySelector('.fg7-prev');
      var nextButton = root.querySelector('.fg7-next');
      var playButton = root.querySelector('.fg7-play');
      var againButton = root.querySelector('.fg7-again');
      var heartCanvas = root.querySelector('.fg7-heart');

      // --- The story: which slides have something to say. ---------------------------------
      var all = Array.prototype.map.call(root.querySelectorAll('.fg7-slide'), function (el) {
        var caps = Array.prototype.filter.call(el.querySelectorAll('.fg7-cap'), function (cap) {
          if (trimmed(cap)) return true;
          cap.classList.add('fg7-empty');
          return false;
        });
        return {
          el: el,
          pic: (el.getAttribute('data-pic') || '').trim(),
          fx: (el.getAttribute('data-fx') || 'none').trim(),
          caps: caps,
          times: caps.map(function (cap) {
            // The two names of the opening come in together, a moment apart.
            if (cap.classList.contains('fg7-name') && cap !== caps[caps.length - 1]) return 0.8;
            return readingTime(trimmed(cap));
          }),
        };
      });
      if (!all.length) return null;

      // The heart between the two names only when both are there.
      var opening = root.querySelector('.fg7-opening');
      var and = opening && opening.querySelector('.fg7-and');
      if (and && opening.querySelectorAll('.fg7-name.fg7-empty').length) and.classList.add('fg7-empty');

      var last = all[all.length - 1];
      var slides = all.filter(function (s) {
        return s.caps.length > 0 || s === last;
      });
      var wordless = slides.length === 1 && !last.caps.length;
      if (wordless) {
        // No words at all: every scene once, in order, with the pictures alone.
        slides = all.filter(function (s, i) {
          return i === 0 || s.pic !== all[i - 1].pic || s === last;
        });
      }

      // --- Pictures. --------------------------------------------------------------------------
      var requested = {};
      function address(pic) {
        return pic ? base + pic + '.jpg' : '';
      }
      function preload(from) {
        for (var i = from; i < Math.min(slides.length, from + AHEAD + 1); i++) {
          var pic = slides[i].pic;
          if (!pic || requested[pic]) continue;
          requested[pic] = true;
          var img = new Image();
          img.decoding = 'async';
          img.src = address(pic);
        }
      }

      Array.prototype.forEach.call(cardImgs, function (img) {
        img.addEventListener('error', function () {
          // A missing picture: the card's own soft heart shows instead.
          img.classList.remove('is-on');
          img.removeAttribute('src');
        });
      });
      Array.prototype.forEach.call(backImgs, function (img) {
        img.addEventListener('error', function () {
          img.classList.remove('is-on');
          img.removeAttribute('src');
        });
      });

      var shownPic = null;
      var layer = 0;
      var pictureTicket = 0;
      function showPicture(pic) {
        if (pic === shownPic || !cardImgs.length) return;
        shownPic = pic;
        var ticket = ++pictureTicket;
        var next = 1 - layer;
        var front = cardImgs[next] || cardImgs[0];
        var back = backImgs[next] || backImgs[0];
        var src = address(pic);
        if (!src) return;
        requested[pic] = true;
        function swap() {
          if (ticket !== pictureTicket) return; // the reader has moved on meanwhile
          front.style.setProperty('--fg7-origin', (Math.random() * 60 + 20).toFixed(0) + '% ' + (Math.random() * 60 + 20).toFixed(0) + '%');
          front.classList.add('is-on');
          if (back) back.classList.add('is-on');
          if (cardImgs[layer] !== front) cardImgs[layer].classList.remove('is-on');
          if (backImgs[layer] && backImgs[layer] !== back) backImgs[layer].classList.remove('is-on');
          layer = next;
        }
        front.classList.remove('is-on');
        front.onload = swap;
        front.onerror = function () {
          // No picture for this slide: rather the card's soft heart than the last one's.
          if (ticket !== pictureTicket) return;
          Array.prototype.forEach.call(cardImgs, function (img) {
            img.classList.remove('is-on');
          });
        };
        front.src = src;
        if (back) back.src = src;
        if (front.complete && front.naturalWidth) swap();
      }

      // --- Air over the picture, and the heart at the end. ----------------------------------
      var drift = ZR.fg7Drift ? ZR.fg7Drift.start(root.querySelector('.fg7-drift'), { kind: 'none' }) : null;
      var heart = null;
      function placeHeart() {
        var box = card.getBoundingClientRect();
        var area = root.getBoundingClientRect();
        var size = Math.min(box.width * 0.72, box.height * 1.08, 520);
        return { x: box.left - area.left + box.width / 2, y: box.top - area.top + box.height / 2, size: size };
      }
      function startHeart() {
        if (heart || !ZR.fg7Heart || !heartCanvas) return;
        heart = ZR.fg7Heart.start(heartCanvas, { place: placeHeart });
      }
      function stopHeart() {
        if (heart) heart.stop();
        heart = null;
      }

      // --- Playing. ---------------------------------------------------------------------------
      var index = -1;
      var slide = null;
      var shown = 0; // captions of this slide on screen
      var clock = 0; // seconds since this slide came
      var due = []; // when each caption appears
      var endAt = 0; // when the next slide comes
      var autoplay = !reduced;
      var ended = false;

      function measure() {
        story.classList.toggle('is-long', story.scrollHeight > story.clientHeight + 2);
      }
      ZR.onResize(measure);

      function reveal(cap) {
        cap.classList.add('is-shown');
        if (and && cap.classList.contains('fg7-name') && slide && slide.el === opening) {
          // The heart between the names beats in with the second name.
          if (slide.caps.indexOf(cap) === 1 || reduced) and.classList.add('is-shown');
        }
      }

      function revealAll() {
        while (shown < slide.caps.length) reveal(slide.caps[shown++]);
        if (and && slide.el === opening) and.classList.add('is-shown');
      }

      function go(i, complete) {
        if (i < 0 || i >= slides.length) return;
        if (slide) {
          // The old captions fade out over the new ones, which are still hidden.
          var old = slide;
          old.el.classList.remove('is-on');
          if (!reduced) old.el.classList.add('is-leaving');
          setTimeout(function () {
            old.el.classList.remove('is-leaving');
            measure();
            if (old === slide) return;
            old.caps.forEach(function (cap) {
              cap.classList.remove('is-shown');
            });
            if (and && old.el === opening) and.classList.remove('is-shown');
          }, reduced ? 0 : 450);
        }
        index = i;
        slide = slides[i];
        slide.el.classList.remove('is-leaving');
        slide.caps.forEach(function (cap) {
          cap.classList.remove('is-shown');
        });
        if (and && slide.el === opening) and.classList.remove('is-shown');
        slide.el.classList.add('is-on');
        story.scrollTop = 0;
        measure();
        shown = 0;
        clock = 0;
        showPicture(slide.pic);
        preload(i + 1);
        if (drift) drift.setKind(slide.fx);

        // The timetable of this slide.
        var t = i === 0 ? 0.9 : 0.7;
        due = slide.times.map(function (len) {
          var at = t;
          t += len;
          return at;
        });
        endAt = wordless ? 3.6 : t + 0.5;
        if (complete || reduced) {
          revealAll();
          endAt = Math.max(3, slide.times.reduce(function (a, b) {
            return a + b;
          }, 0));
        }

        var isLast = i === slides.length - 1;
        if (isLast !== ended) {
          ended = isLast;
          root.classList.toggle('is-end', ended);
          if (ended) startHeart();
          else stopHeart();
        }
        if (bar) bar.style.width = ((i + 1) / slides.length) * 100 + '%';
        if (count) count.textContent = i + 1 + ' / ' + slides.length;
        if (prevButton) prevButton.disabled = i === 0;
        if (hint && i > 0) hint.classList.add('is-gone');
      }

      function forward() {
        if (slide && shown < slide.caps.length) {
          revealAll();
          // Time to read what just appeared before the story goes on.
          endAt = clock + Math.max(2.6, slide.times[slide.times.length - 1] || 0);
          return;
        }
        if (index < slides.length - 1) go(index + 1);
      }

      function back() {
        if (index > 0) go(index - 1, true);
      }

      function setAutoplay(on) {
        autoplay = on;
        if (playButton) {
          playButton.classList.toggle('is-paused', !on);
          playButton.setAttribute('aria-label', on ? '暂停自动播放' : '自动播放');
        }
        // Playing again: a moment on this page before the next one comes.
        if (on && slide) endAt = Math.max(endAt, clock + 1.5);
      }

      ZR.loop(function (t, dt) {
        if (!slide) return;
        // Paused, the captions of this slide still come in; only the page turns wait for a tap.
        clock += dt;
        while (shown < slide.caps.length && clock >= due[shown]) reveal(slide.caps[shown++]);
        if (autoplay && !ended && clock >= endAt && shown >= slide.caps.length) go(index + 1);
      });

      // --- The reader's hands. ----------------------------------------------------------------
      var press = null;
      root.addEventListener('pointerdown', function (e) {
        if (e.button > 0 || e.target.closest('button, a')) return;
        press = { x: e.clientX, y: e.clientY, id: e.pointerId };
      });
      root.addEventListener('pointercancel', function () {
        press = null;
      });
      root.addEventListener('pointerup', function (e) {
        if (!press || press.id !== e.pointerId) return;
        var dx = e.clientX - press.x;
        var dy = e.clientY - press.y;
        press = null;
        if (Math.abs(dx) > 40 && Math.abs(dx) > Math.abs(dy) * 1.2) {
          if (dx < 0) forward();
          else back();
        } else if (Math.abs(dx) < 12 && Math.abs(dy) < 12) {
          var area = root.getBoundingClientRect();
          if (e.clientX - area.left < area.width * 0.28) back();
          else forward();
        }
      });
      document.addEventListener('keydown', function (e) {
        if (e.target && e.target.closest && e.target.closest('button')) {
          if (e.key === ' ' || e.key === 'Enter') return; // the button's own click
        }
        if (e.key === 'ArrowRight' || e.key === 'PageDown' || e.key === ' ' || e.key === 'Enter') {
          e.preventDefault();
          forward();
        } else if (e.key === 'ArrowLeft' || e.key === 'PageUp') {
          e.preventDefault();
          back();
        }
      });
      if (prevButton) prevButton.addEventListener('click', back);
      if (nextButton) nextButton.addEventListener('click', forward);
      if (playButton) {
        if (reduced) playButton.hidden = true;
        playButton.addEventListener('click', function () {
          setAutoplay(!autoplay);
        });
      }
      if (againButton) {
        againButton.addEventListener('click', function () {
          setAutoplay(!reduced);
          go(0);
        });
      }

      // --- Music, if the service has the song. -----------------------------------------------
      var music = (root.getAttribute('data-music') || '').trim();
      if (music && ZR.music) ZR.music.start({ src: music });

      if (hint && reduced) hint.textContent = '轻点屏幕翻页，左右滑动也可以';
      if (hint) {
        setTimeout(function () {
          hint.classList.add('is-gone');
        }, 9000);
      }

      setAutoplay(autoplay);
      preload(0);
      go(0);
      return {
        next: forward,
        back: back,
      };
    },
  };
})();
