/* A big heart drawn by points of light: they fly in from all over the screen, settle into a
 * heart and it beats gently (about fifty beats a minute), glowing.
 *
 *   var heart = ZR.fg7Heart.start(canvas, { place: function () { return {x, y, size}; } })
 *   heart.stop()
 *
 * `place` tells where the heart goes, in CSS pixels of the canvas (asked again on resize).
 * Under reduced motion the heart is drawn once, settled and still.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});
  var TAU = Math.PI * 2;

  // The classic heart curve, about 32 units wide, centred on its middle.
  function curve(t) {
    var s = Math.sin(t);
    return {
      x: 16 * s * s * s,
      y: -(13 * Math.cos(t) - 5 * Math.cos(2 * t) - 2 * Math.cos(3 * t) - Math.cos(4 * t)) - 2.5,
    };
  }

  function easeOut(u) {
    return 1 - Math.pow(1 - u, 3);
  }

  // Two soft beats, then rest: 0..1.
  function beat(t) {
    var ph = (t % 1.2) / 1.2;
    var a = (ph - 0.1) / 0.06;
    var b = (ph - 0.3) / 0.07;
    return Math.exp(-a * a) + 0.6 * Math.exp(-b * b);
  }

  var outline = [];
  for (var n = 0; n < 160; n++) outline.push(curve((n / 160) * TAU));

  function inside(x, y) {
    var hit = false;
    for (var i = 0, j = outline.length - 1; i < outline.length; j = i++) {
      var a = outline[i];
      var b = outline[j];
      if (a.y > y !== b.y > y && x < ((b.x - a.x) * (y - a.y)) / (b.y - a.y) + a.x) hit = !hit;
    }
    return hit;
  }

  // A point of the heart: on its outline (a little inward), or anywhere inside it.
  function target(edge) {
    if (edge) {
      var c = curve(Math.random() * TAU);
      var r = 1 - Math.random() * Math.random() * 0.12;
      return { x: c.x * r, y: c.y * r };
    }
    for (;;) {
      var x = (Math.random() * 2 - 1) * 15.5;
      var y = Math.random() * 29 - 14.5;
      if (inside(x, y)) return { x: x, y: y };
    }
  }

  function makeParticles(count, width, height) {
    var list = [];
    for (var i = 0; i < count; i++) {
      var edge = Math.random() < 0.6;
      var c = target(edge);
      var from = Math.random() * TAU;
      var far = Math.max(width, height) * (0.55 + Math.random() * 0.4);
      list.push({
        tx: c.x,
        ty: c.y,
        sx: width / 2 + Math.cos(from) * far,
        sy: height / 2 + Math.sin(from) * far,
        delay: Math.random() * 0.9,
        travel: 1.5 + Math.random() * 1.2,
        edge: edge,
        size: edge ? 1 + Math.random() * 1.6 : 0.7 + Math.random() * 1.2,
        hue: 334 + Math.random() * 22,
        light: edge ? 56 + Math.random() * 14 : 68 + Math.random() * 16,
        white: Math.random() < 0.07,
        phase: Math.random() * TAU,
      });
    }
    return list;
  }

  ZR.fg7Heart = {
    start: function (canvas, options) {
      if (!canvas || !canvas.getContext) return { stop: function () {} };
      var place = (options && options.place) || function () {
        return { x: fit.width / 2, y: fit.height / 2, size: Math.min(fit.width, fit.height) * 0.6 };
      };
      var still = ZR.reducedMotion();
      var fit = ZR.fitCanvas(canvas);
      var count = fit.width * fit.height > 500000 ? 1300 : 950;
      var particles = makeParticles(count, fit.width, fit.height);
      var spot = place();

      function frame(t) {
        var ctx = fit.ctx;
        var w = fit.width;
        var h = fit.height;
        var k = spot.size / 34;
        var pulse = still ? 0 : beat(t);
        var grow = 1 + 0.05 * pulse;
        ctx.clearRect(0, 0, w, h);
        ctx.save();
        // A soft glow under the heart, swelling a little with each beat.
        var settled = still ? 1 : Math.min(1, Math.max(0, (t - 1.2) / 1.6));
        var glow = ctx.createRadialGradient(spot.x, spot.y, 0, spot.x, spot.y, spot.size * 0.75);
        glow.addColorStop(0, 'rgba(255,90,150,' + (0.34 + 0.12 * pulse) * settled + ')');
        glow.addColorStop(1, 'rgba(255,90,150,0)');
        ctx.fillStyle = glow;
        ctx.fillRect(0, 0, w, h);
        for (var i = 0; i < particles.length; i++) {
          var p = particles[i];
          var u = still ? 1 : Math.min(1, Math.max(0, (t - p.delay) / p.travel));
          var e = easeOut(u);
          var wob = still ? 0 : 0.35 * Math.sin(p.phase + t * 2);
          var hx = spot.x + (p.tx + wob) * k * grow;
          var hy = spot.y + (p.ty + wob * 0.6) * k * grow;
          var x = p.sx + (hx - p.sx) * e;
          var y = p.sy + (hy - p.sy) * e;
          var r = p.size * Math.max(1, k * 0.12) * (0.8 + 0.2 * e);
          // White sparks twinkle slowly; the rest are pink, deeper along the edge.
          ctx.globalAlpha = p.white
            ? 0.5 + 0.4 * Math.sin(p.phase + t * 1.7)
            : (p.edge ? 0.9 : 0.55) * (0.45 + 0.55 * e);
          ctx.fillStyle = p.white ? '#fffafc' : 'hsl(' + p.hue + ',100%,' + p.light + '%)';
          ctx.beginPath();
          ctx.arc(x, y, r, 0, TAU);
          ctx.fill();
        }
        ctx.restore();
      }

      var stopLoop = null;
      if (still) frame(0);
      else
        stopLoop = ZR.loop(function (t) {
          frame(t);
        });
      var elapsed = 0;
      var stopResize = ZR.onResize(function () {
        fit = ZR.fitCanvas(canvas);
        spot = place();
        if (still) frame(elapsed);
      });

      return {
        stop: function () {
          if (stopLoop) stopLoop();
          stopResize();
          fit.ctx.clearRect(0, 0, fit.width, fit.height);
        },
      };
    },
  };
})();
