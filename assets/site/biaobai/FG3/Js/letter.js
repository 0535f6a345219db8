/* The letter beside the heart tree: its lines typed one after another, then the signature.
 *
 *   ZR.letter.start(container, { lines: [html, ...], signature: text, speed: 10,
 *                                delay: 0.6, pause: 0.35, onDone: fn })
 *
 * Empty lines are left out. Every line holds its place from the start (an invisible copy of
 * it sits underneath), so nothing on the page jumps while the text grows. While the reader
 * follows the caret, the page scrolls along when it moves below the bottom of the screen.
 * Under reduced motion everything is there at once.
 * Returns the number of items shown (0: nothing to type, the container is hidden).
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  function hasContent(html) {
    var t = document.createElement('template');
    t.innerHTML = html;
    return t.content.textContent.trim() !== '' || !!t.content.querySelector('img');
  }

  ZR.letter = {
    start: function (container, options) {
      var items = [];
      (options.lines || []).forEach(function (html) {
        if (hasContent(html)) items.push({ html: html, cls: 'fg3-line' });
      });
      var sign = (options.signature || '').trim();
      if (sign) items.push({ text: sign, cls: 'fg3-sign' });
      container.textContent = '';
      if (!items.length) {
        container.hidden = true;
        if (options.onDone) options.onDone();
        return 0;
      }
      var calm = ZR.reducedMotion();

      items.forEach(function (item) {
        var p = document.createElement('p');
        p.className = item.cls;
        var box = document.createElement('span');
        box.className = 'fg3-box';
        p.appendChild(box);
        if (calm) {
          if (item.html !== undefined) box.innerHTML = item.html;
          else box.textContent = item.text;
        } else {
          var ghost = document.createElement('span');
          ghost.className = 'fg3-ghost';
          ghost.setAttribute('aria-hidden', 'true');
          if (item.html !== undefined) ghost.innerHTML = item.html;
          else ghost.textContent = item.text;
          item.typed = document.createElement('span');
          item.typed.className = 'fg3-typed';
          box.appendChild(ghost);
          box.appendChild(item.typed);
        }
        item.el = p;
        container.appendChild(p);
      });
      if (calm) {
        if (options.onDone) options.onDone();
        return items.length;
      }

      // The page keeps the caret in view while the reader watches it: when the caret has
      // just gone below the bottom of the screen, the page glides after it. A reader who has
      // scrolled away from it (to look at the tree) is not pulled back.
      var lastTouch = 0;
      var wasVisible = null; // unknown until the first look
      function touched() {
        lastTouch = Date.now();
      }
      ['wheel', 'touchstart', 'keydown', 'pointerdown'].forEach(function (type) {
        window.addEventListener(type, touched, { passive: true });
      });
      function follow() {
        var caret = container.querySelector('.zr-caret');
        if (!caret) return;
        var box = caret.getBoundingClientRect();
        var view = window.innerHeight;
        var visible = box.top >= 0 && box.bottom <= view;
        if (wasVisible === null) {
          // A letter that starts out of sight is left for the reader to scroll to.
          wasVisible = visible;
          return;
        }
        if (!visible && wasVisible && box.top > 0 && Date.now() - lastTouch > 1500) {
          window.scrollBy({ top: box.top - view * 0.6, behavior: 'smooth' });
          visible = true;
        }
        wasVisible = visible;
      }
      var watch = window.setInterval(follow, 500);

      var speed = options.speed || 10;
      var pause = options.pause === undefined ? 0.35 : options.pause;
      function type(i) {
        var item = items[i];
        if (!item) {
          window.clearInterval(watch);
          ['wheel', 'touchstart', 'keydown', 'pointerdown'].forEach(function (type) {
            window.removeEventListener(type, touched, { passive: true });
          });
          if (options.onDone) options.onDone();
          return;
        }
        var opts = {
          speed: speed,
          delay: i === 0 ? options.delay || 0 : pause,
          onDone: function () {
            // Only the last line keeps its blinking caret.
            if (i < items.length - 1) {
              var caret = item.typed.querySelector('.zr-caret');
              if (caret) caret.remove();
            }
            item.el.classList.add('fg3-done');
            type(i + 1);
          },
        };
        if (item.html !== undefined) opts.html = item.html;
        else opts.text = item.text;
        ZR.typewriter.start(item.typed, opts);
      }
      type(0);
      return items.length;
    },
  };
})();
