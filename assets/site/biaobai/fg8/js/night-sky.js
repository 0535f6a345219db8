/* A night sky over the page: stars that twinkle slowly, now and then a shooting star, and a
 * few small hearts rising like lanterns.
 *
 *   ZR.nightSky.start(canvas, { stars: 110, hearts: 8, colour: '255,92,154' })
 *
 * The canvas is sized to its box at the screen's density; the stars keep their places in
 * proportion when the window changes. With less motion the sky is drawn once, without hearts.
 * Returns { stop() }.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  function heartPath(ctx, x, y, size) {
    // Lobes on top, tip at the bottom; (x, y) is the centre.
    var s = size / 2;
    ctx.beginPath();
    ctx.moveTo(x, y + s * 0.95);
    ctx.bezierCurveTo(x - s * 0.4, y + s * 0.62, x - s, y + s * 0.2, x - s, y - s * 0.3);
    ctx.bezierCurveTo(x - s, y - s * 0.75, x - s * 0.55, y - s * 0.95, x - s * 0.25, y - s * 0.95);
    ctx.bezierCurveTo(x - s * 0.08, y - s * 0.95, x, y - s * 0.8, x, y - s * 0.62);
    ctx.bezierCurveTo(x, y - s * 0.8, x + s * 0.08, y - s * 0.95, x + s * 0.25, y - s * 0.95);
    ctx.bezierCurveTo(x + s * 0.55, y - s * 0.95, x + s, y - s * 0.75, x + s, y - s * 0.3);
    ctx.bezierCurveTo(x + s, y + s * 0.2, x + s * 0.4, y + s * 0.62, x, y + s * 0.95);
    ctx.closePath();
  }

  ZR.nightSky = {
    start: function (canvas, options) {
      options = options || {};
      var colour = options.colour || '255,92,154';
      var still = ZR.reducedMotion();
      var view = ZR.fitCanvas(canvas);
      var stars = [];
      var count = options.stars || 110;
      for (var i = 0; i < count; i++) {
        stars.push({
          x: Math.random(),
          y: Math.pow(Math.random(), 1.4) * 0.78,
          r: 0.45 + Math.random() * Math.random() * 1.5,
          base: 0.35 + Math.random() * 0.45,
          speed: (Math.PI * 2) / (2.5 + Math.random() * 4.5),
          phase: Math.random() * Math.PI * 2,
        });
      }
      var hearts = [];
      function newHeart(h, anywhere) {
        h.x = Math.random();
        h.y = anywhere ? Math.random() : 1.08;
        h.size = 8 + Math.random() * 12;
        h.rise = 0.018 + Math.random() * 0.022; // of the height per second
        h.sway = 10 + Math.random() * 18;
        h.phase = Math.random() * Math.PI * 2;
        h.alpha = 0.14 + Math.random() * 0.22;
        return h;
      }
      if (!still) {
        for (var k = 0; k < (options.hearts === undefined ? 8 : options.hearts); k++) hearts.push(newHeart({}, true));
      }
      var meteor = null;
      var nextMeteor = 6 + Math.random() * 6;

      function draw(t, dt) {
        var ctx = view.ctx;
        var w = view.width;
        var h = view.height;
        ctx.clearRect(0, 0, w, h);
        ctx.fillStyle = '#fff';
        stars.forEach(function (s) {
          var a = still ? s.base : s.base + 0.3 * Math.sin(t * s.speed + s.phase);
          ctx.globalAlpha = Math.max(0.05, Math.min(1, a));
          ctx.beginPath();
          ctx.arc(s.x * w, s.y * h, s.r, 0, Math.PI * 2);
          ctx.fill();
        });
        if (!still) {
          // A shooting star now and then, across the upper sky.
          if (!meteor && t > nextMeteor) {
            meteor = { x: 0.2 + Math.random() * 0.7, y: Math.random() * 0.3, age: 0 };
          }
          if (meteor) {
            meteor.age += dt;
            var life = meteor.age / 1.1;
            if (life >= 1) {
              meteor = null;
              nextMeteor = t + 8 + Math.random() * 9;
            } else {
              var len = Math.min(w, h) * 0.28;
              var hx = meteor.x * w - life * len * 1.6;
              var hy = meteor.y * h + life * len * 0.8;
              var grad = ctx.createLinearGradient(hx, hy, hx + len, hy - len * 0.5);
              grad.addColorStop(0, 'rgba(255,255,255,0.9)');
              grad.addColorStop(1, 'rgba(255,255,255,0)');
              ctx.globalAlpha = Math.sin(life * Math.PI);
              ctx.strokeStyle = grad;
              ctx.lineWidth = 1.4;
              ctx.beginPath();
              ctx.moveTo(hx, hy);
              ctx.lineTo(hx + len, hy - len * 0.5);
              ctx.stroke();
            }
          }
          ctx.fillStyle = 'rgb(' + colour + ')';
          hearts.forEach(function (hh) {
            hh.y -= hh.rise * dt;
            if (hh.y < -0.06) newHeart(hh, false);
            var fade = Math.min(1, (1.08 - hh.y) * 4, (hh.y + 0.06) * 5);
            ctx.globalAlpha = hh.alpha * Math.max(0, fade);
            heartPath(ctx, hh.x * w + Math.sin(t * 0.6 + hh.phase) * hh.sway, hh.y * h, hh.size);
            ctx.fill();
          });
        }
        ctx.globalAlpha = 1;
      }

      var stopLoop = null;
      if (still) draw(0, 0);
      else stopLoop = ZR.loop(draw);
      var removeResize = ZR.onResize(function () {
        view = ZR.fitCanvas(canvas);
        if (still) draw(0, 0);
      });
      return {
        stop: function () {
          if (stopLoop) stopLoop();
          removeResize();
        },
      };
    },
  };
})();
