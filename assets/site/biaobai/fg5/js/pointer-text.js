/* A short text whose characters trail the pointer, one after the other.
 *
 *   ZR.pointerText.start(element, { max: 40 })
 *
 * The element holds the text in the page, where it rests. Its characters are copied into a
 * fixed layer above the page; when the mouse moves (or a finger moves on a phone) they run after
 * it in a row, each one easing towards the one before it, so the row waves along; when the mouse leaves the window or
 * the finger has been lifted for a moment, they fly back to their places in the element and
 * bob there gently. Under prefers-reduced-motion the text just stays in the element.
 * Longer texts are cut to `max` characters. Returns { stop() }, or null for an empty text.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  var FOLLOW = 14; // how fast a character closes the gap to the one before it (1/s)
  var RETURN = 6;
  var FINGER_LIFT = -56; // above the finger, so it does not hide the text
  var HOME_AFTER_TOUCH = 1.4; // seconds

  function ease(rate, dt) {
    return 1 - Math.exp(-rate * dt);
  }

  ZR.pointerText = {
    start: function (element, options) {
      var max = (options && options.max) || 40;
      var chars = Array.from(element.textContent.trim());
      if (!chars.length) {
        element.hidden = true;
        return null;
      }
      var cut = chars.length > max;
      chars = chars.slice(0, max);
      element.textContent = '';
      var slots = chars.map(function (ch) {
        var slot = document.createElement('span');
        slot.className = 'pt-slot';
        slot.textContent = ch;
        element.appendChild(slot);
        return slot;
      });
      if (cut) element.appendChild(document.createTextNode('…'));
      if (ZR.reducedMotion()) return { stop: function () {} };

      var layer = document.createElement('div');
      layer.className = 'pt-layer';
      layer.setAttribute('aria-hidden', 'true');
      var runners = chars.map(function (ch, i) {
        var span = document.createElement('span');
        span.className = 'pt-char';
        span.textContent = ch;
        span.style.color = 'hsl(' + ((338 + i * 11) % 360) + ',90%,56%)';
        layer.appendChild(span);
        return { el: span, x: 0, y: 0, w: 0 };
      });
      document.body.appendChild(layer);
      element.classList.add('pt-live');

      var pointer = null; // { x, y } while something is being followed
      var liftedAt = -1;
      var scrollY = window.scrollY;
      var clock = 0;

      function homes() {
        return slots.map(function (slot) {
          var r = slot.getBoundingClientRect();
          return { x: r.left, y: r.top, w: r.width };
        });
      }
      homes().forEach(function (h, i) {
        runners[i].x = h.x;
        runners[i].y = h.y;
        runners[i].w = h.w;
      });

      function onPointer(event) {
        if (event.pointerType === 'touch') return;
        pointer = { x: event.clientX + 14, y: event.clientY + 14 };
        liftedAt = -1;
      }
      function onTouch(event) {
        var t = event.touches && event.touches[0];
        if (!t) return;
        pointer = { x: t.clientX - 20, y: t.clientY + FINGER_LIFT };
        liftedAt = -1;
      }
      function onLift(event) {
        if (event.touches && event.touches.length) return;
        liftedAt = clock;
      }
      function onLeave(event) {
        if (!event.relatedTarget) pointer = null;
      }
      var listeners = [
        [window, 'pointermove', onPointer],
        [window, 'pointerdown', onPointer],
        [window, 'touchstart', onTouch],
        [window, 'touchmove', onTouch],
        [window, 'touchend', onLift],
        [window, 'touchcancel', onLift],
        [document, 'mouseout', onLeave],
      ];
      listeners.forEach(function (l) {
        l[0].addEventListener(l[1], l[2], { passive: true });
      });

      var stopLoop = ZR.loop(function (seconds, dt) {
        clock = seconds;
        if (pointer && liftedAt >= 0 && seconds - liftedAt > HOME_AFTER_TOUCH) pointer = null;
        // At rest the characters sit in the page: they scroll with it, without lagging.
        var scrolled = window.scrollY - scrollY;
        scrollY = window.scrollY;
        var home = homes();
        runners.forEach(function (r, i) {
          r.w = home[i].w;
          var gx;
          var gy;
          var rate;
          if (pointer) {
            if (i === 0) {
              gx = pointer.x;
              gy = pointer.y;
            } else {
              gx = runners[i - 1].x + runners[i - 1].w + 2;
              gy = runners[i - 1].y;
            }
            rate = FOLLOW;
          } else {
            r.y -= scrolled;
            gx = home[i].x;
            gy = home[i].y + Math.sin(seconds * 2.2 - i * 0.7) * 3;
            rate = RETURN;
          }
          var k = ease(rate, dt);
          r.x += (gx - r.x) * k;
          r.y += (gy - r.y) * k;
          // A quick move to the right would pile the characters onto one another: keep each
          // one right of the one before it, so the text stays readable on the run.
          if (pointer && i > 0) {
            var prev = runners[i - 1];
            r.x = Math.max(r.x, prev.x + prev.w * 0.9);
          }
          r.el.style.transform = 'translate3d(' + r.x.toFixed(1) + 'px,' + r.y.toFixed(1) + 'px,0)';
        });
      });

      return {
        stop: function () {
          stopLoop();
          listeners.forEach(function (l) {
            l[0].removeEventListener(l[1], l[2], { passive: true });
          });
          layer.remove();
          element.classList.remove('pt-live');
        },
      };
    },
  };
})();
