/* Hearts and petals drifting slowly up behind the page.
 *
 *   ZR.floaters.start(container, { count })   returns { stop() }
 *
 * Each one is a CSS animation of transform and opacity only (the compositor does the work, no
 * script runs per frame); the style sheet hides them when the reader asked for less motion.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  function between(a, b) {
    return a + Math.random() * (b - a);
  }

  ZR.floaters = {
    start: function (container, options) {
      if (!container) return null;
      var count = (options && options.count) || 16;
      // Fewer on a small screen: the same feel with less to draw.
      if (window.innerWidth < 600) count = Math.round(count * 0.7);
      var made = [];
      for (var i = 0; i < count; i++) {
        var el = document.createElement('span');
        var kind = i % 3 === 2 ? 'is-petal' : 'is-heart' + (i % 3 === 1 ? ' is-pink' : '');
        el.className = 'fg6-floater ' + kind;
        var duration = between(14, 26);
        el.style.setProperty('--x', between(2, 96).toFixed(1) + '%');
        el.style.setProperty('--s', Math.round(between(10, 26)) + 'px');
        el.style.setProperty('--d', duration.toFixed(1) + 's');
        // Started part way through, so the screen is not empty at first.
        el.style.setProperty('--delay', (-between(0, duration)).toFixed(1) + 's');
        el.style.setProperty('--o', between(0.35, 0.8).toFixed(2));
        el.style.setProperty('--sway', Math.round(between(12, 40)) + 'px');
        el.style.setProperty('--turn', Math.round(between(8, 35)) + 'deg');
        el.appendChild(document.createElement('i'));
        container.appendChild(el);
        made.push(el);
      }
      return {
        stop: function () {
          made.forEach(function (el) {
            el.remove();
          });
          made = [];
        },
      };
    },
  };
})();
