/* A glowing seven-segment clock showing the reader's own time.
 *
 *   ZR.digitalClock.start(element, { date: element (optional), seconds: true })
 *
 * Builds HH:MM(:SS) in the element as small SVG digits whose segments light up; the colons
 * blink gently once a second (steady with less motion). The time is read from Date on every
 * frame, so a tab that was throttled or hidden is right again at its next frame. With `date`
 * the date and weekday go there. Returns { stop() }.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  var SVG_NS = 'http://www.w3.org/2000/svg';
  // Segments a..g (top, upper right, lower right, bottom, lower left, upper left, middle).
  var DIGITS = [0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f];
  var WEEKDAYS = ['星期日', '星期一', '星期二', '星期三', '星期四', '星期五', '星期六'];

  function horizontal(x0, x1, y, t) {
    var h = t / 2;
    return [[x0, y], [x0 + h, y - h], [x1 - h, y - h], [x1, y], [x1 - h, y + h], [x0 + h, y + h]];
  }

  function vertical(x, y0, y1, t) {
    var h = t / 2;
    return [[x, y0], [x + h, y0 + h], [x + h, y1 - h], [x, y1], [x - h, y1 - h], [x - h, y0 + h]];
  }

  // One digit in a 60 x 104 box.
  function segmentShapes() {
    var t = 10;
    var g = 1.6;
    var l = 6;
    var r = 54;
    var top = 6;
    var mid = 52;
    var bottom = 98;
    return [
      horizontal(l + g, r - g, top, t),
      vertical(r, top + g, mid - g, t),
      vertical(r, mid + g, bottom - g, t),
      horizontal(l + g, r - g, bottom, t),
      vertical(l, mid + g, bottom - g, t),
      vertical(l, top + g, mid - g, t),
      horizontal(l + g, r - g, mid, t),
    ];
  }

  function makeDigit() {
    var box = document.createElement('span');
    box.className = 'dc-digit';
    var svg = document.createElementNS(SVG_NS, 'svg');
    svg.setAttribute('viewBox', '0 0 60 104');
    svg.setAttribute('aria-hidden', 'true');
    var segments = segmentShapes().map(function (points) {
      var polygon = document.createElementNS(SVG_NS, 'polygon');
      polygon.setAttribute('points', points.map(function (p) { return p.join(','); }).join(' '));
      polygon.setAttribute('class', 'dc-seg');
      svg.appendChild(polygon);
      return polygon;
    });
    box.appendChild(svg);
    var shown = -1;
    return {
      el: box,
      set: function (digit) {
        if (digit === shown) return;
        shown = digit;
        var mask = DIGITS[digit];
        segments.forEach(function (segment, i) {
          segment.setAttribute('class', (mask >> i) & 1 ? 'dc-seg dc-on' : 'dc-seg');
        });
      },
    };
  }

  function makeColon() {
    var colon = document.createElement('span');
    colon.className = 'dc-colon';
    colon.setAttribute('aria-hidden', 'true');
    colon.appendChild(document.createElement('i'));
    colon.appendChild(document.createElement('i'));
    return colon;
  }

  function two(n) {
    return (n < 10 ? '0' : '') + n;
  }

  ZR.digitalClock = {
    start: function (el, options) {
      options = options || {};
      var withSeconds = options.seconds !== false;
      var still = ZR.reducedMotion();
      el.textContent = '';
      el.classList.add('dc-clock-ready');
      var digits = [];
      var colons = [];
      var groups = withSeconds ? 3 : 2;
      for (var g = 0; g < groups; g++) {
        if (g) {
          var colon = makeColon();
          colons.push(colon);
          el.appendChild(colon);
        }
        for (var k = 0; k < 2; k++) {
          var digit = makeDigit();
          digits.push(digit);
          el.appendChild(digit.el);
        }
      }

      var lastSecond = -1;
      var lastMinute = -1;
      var lastDay = -1;
      var colonOn = null;

      function render() {
        var now = new Date();
        var seconds = now.getSeconds();
        if (seconds !== lastSecond) {
          lastSecond = seconds;
          var fields = [now.getHours(), now.getMinutes(), seconds].slice(0, groups);
          fields.forEach(function (value, i) {
            digits[i * 2].set(Math.floor(value / 10));
            digits[i * 2 + 1].set(value % 10);
          });
          if (now.getMinutes() !== lastMinute) {
            lastMinute = now.getMinutes();
            el.setAttribute('aria-label', two(now.getHours()) + ':' + two(now.getMinutes()));
          }
        }
        if (options.date && now.getDate() !== lastDay) {
          lastDay = now.getDate();
          options.date.textContent =
            now.getFullYear() + ' . ' + two(now.getMonth() + 1) + ' . ' + two(now.getDate()) + '  ' +
            WEEKDAYS[now.getDay()];
        }
        // On for the first half of every second: one gentle blink a second.
        var on = still || now.getMilliseconds() < 500;
        if (on !== colonOn) {
          colonOn = on;
          colons.forEach(function (c) {
            c.classList.toggle('dc-dim', !on);
          });
        }
      }

      render();
      var stopLoop = ZR.loop(render);
      // Hidden tabs get no frames; coming back, the time is put right at once.
      function visible() {
        if (!document.hidden) render();
      }
      document.addEventListener('visibilitychange', visible);
      return {
        stop: function () {
          stopLoop();
          document.removeEventListener('visibilitychange', visible);
        },
      };
    },
  };
})();
