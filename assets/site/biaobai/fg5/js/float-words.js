/* The partner's name characters drifting up the screen in hearts and bubbles, behind the page.
 *
 *   ZR.floatWords.start(layer, { items: elements, opacity: 0.6 })
 *
 * `layer` is a fixed full-screen box behind the content; `items` are its elements, each holding
 * one short text (a character of the name); a CSS --lift (fraction of the size) raises the text
 * in a shape whose visual middle is higher than its box's, such as a heart. Empty ones are hidden; the rest rise slowly from
 * below the screen to above it, swaying, and come round again in a new lane. The size follows
 * the screen (smaller on a phone). Under prefers-reduced-motion they stay where they are.
 * Returns { stop() }, or null when every item is empty.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  function shuffled(n) {
    var list = [];
    for (var i = 0; i < n; i++) list.push(i);
    for (var j = n - 1; j > 0; j--) {
      var k = Math.floor(Math.random() * (j + 1));
      var t = list[j];
      list[j] = list[k];
      list[k] = t;
    }
    return list;
  }

  ZR.floatWords = {
    start: function (layer, options) {
      options = options || {};
      var all = Array.prototype.slice.call(options.items || layer.children);
      var items = [];
      all.forEach(function (el) {
        var text = el.textContent.trim();
        if (!text) {
          el.hidden = true;
          return;
        }
        // A name character is one or two characters; anything longer is cut by the CSS
        // ellipsis, in a smaller size, so a long entry stays a bubble.
        var length = Array.from(text).length;
        // A shape whose middle is not its box's middle (a heart) says so in CSS: --lift.
        var lift = parseFloat(window.getComputedStyle(el).getPropertyValue('--lift')) || 0;
        items.push({ el: el, lift: lift, scale: length <= 1 ? 0.5 : length === 2 ? 0.34 : 0.26 });
      });
      if (!items.length) {
        layer.hidden = true;
        return null;
      }
      layer.classList.add('floats-on');

      var width = 0;
      var height = 0;
      var base = 0;
      var lanes = shuffled(items.length);
      var nextLane = 0;

      function laneX(item) {
        var lane = lanes[nextLane++ % lanes.length];
        item.fx = (lane + 0.5) / lanes.length + (Math.random() - 0.5) * 0.5 / lanes.length;
      }
      function measure() {
        width = window.innerWidth;
        height = window.innerHeight;
        base = Math.max(46, Math.min(100, Math.min(width, height) * 0.12));
        items.forEach(function (item) {
          item.size = base * item.grow;
          item.el.style.width = item.size + 'px';
          item.el.style.height = item.size + 'px';
          item.el.style.lineHeight = item.size * (1 - item.lift) + 'px';
          item.el.style.fontSize = Math.round(item.size * item.scale) + 'px';
        });
      }

      items.forEach(function (item, i) {
        item.grow = 0.75 + Math.random() * 0.55;
        item.speed = 0.035 + Math.random() * 0.035; // screen heights per second
        item.sway = 10 + Math.random() * 18;
        item.swaySpeed = 0.4 + Math.random() * 0.5;
        item.phase = Math.random() * Math.PI * 2;
        // Spread over the whole screen at the start, so nothing waits to come in.
        item.fy = (i + Math.random() * 0.8) / items.length;
        laneX(item);
      });
      measure();

      function place(item, seconds) {
        var span = height + item.size * 2;
        var y = item.fy * span - item.size;
        var x = item.fx * width - item.size / 2 + Math.sin(seconds * item.swaySpeed + item.phase) * item.sway;
        // Keep the whole bubble on the screen sideways.
        x = Math.max(0, Math.min(width - item.size, x));
        var turn = Math.sin(seconds * item.swaySpeed * 0.8 + item.phase) * 10;
        item.el.style.transform = 'translate3d(' + x.toFixed(1) + 'px,' + y.toFixed(1) + 'px,0) rotate(' + turn.toFixed(1) + 'deg)';
      }

      var stopResize = ZR.onResize(function () {
        measure();
        items.forEach(function (item) {
          place(item, 0);
        });
      });

      if (ZR.reducedMotion()) {
        items.forEach(function (item) {
          place(item, 0);
        });
        return { stop: stopResize };
      }

      var stopLoop = ZR.loop(function (seconds, dt) {
        items.forEach(function (item) {
          item.fy -= item.speed * dt;
          if (item.fy < 0) {
            item.fy += 1;
            laneX(item);
          }
          place(item, seconds);
        });
      });
      return {
        stop: function () {
          stopLoop();
          stopResize();
        },
      };
    },
  };
})();
