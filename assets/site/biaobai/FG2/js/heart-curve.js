/* A heart of glowing particles on a canvas, traced along the heart curve
 *   x = 16 sin^3 t,  y = 13 cos t - 5 cos 2t - 2 cos 3t - cos 4t
 * by two bright pens that start at the dip between the lobes and meet at the tip; then it
 * fills with a soft glow and beats gently (a "lub-dub" a second).
 *
 *   ZR.heartCurve.start(canvas, { drawSeconds: 2.6, onDrawn: fn })
 *
 * The heart fills the canvas's box (82 % of its width, centred). `onDrawn` runs once the
 * outline is complete. Under reduced motion the finished heart is drawn still, at once.
 * Returns { pulse(), stop() }: pulse gives one stronger beat with a shower of sparks (for a
 * tap on the heart); stop ends the animation.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  var TAU = Math.PI * 2;
  var Y_MID = -2.54; // the curve runs from y = -17 (tip) to y = 11.92 (lobes)
  var PERIOD = 1.05; // seconds per beat
  var COLOURS = ['255,70,125', '255,120,165', '255,190,215', '255,245,250'];

  function curveX(t) {
    var s = Math.sin(t);
    return 16 * s * s * s;
  }
  function curveY(t) {
    return 13 * Math.cos(t) - 5 * Math.cos(2 * t) - 2 * Math.cos(3 * t) - Math.cos(4 * t);
  }

  // Arc length along the right half (t from 0 to PI), so that particles spread evenly and the
  // pens travel at an even pace.
  var ARC = (function () {
    var n = 400;
    var lengths = [0];
    var total = 0;
    var px = curveX(0);
    var py = curveY(0);
    for (var i = 1; i <= n; i++) {
      var t = (i / n) * Math.PI;
      var x = curveX(t);
      var y = curveY(t);
      total += Math.sqrt((x - px) * (x - px) + (y - py) * (y - py));
      lengths.push(total);
      px = x;
      py = y;
    }
    return { n: n, lengths: lengths, total: total };
  })();

  // The t at a fraction (0..1) of the half curve's length.
  function tAt(fraction) {
    var want = Math.max(0, Math.min(1, fraction)) * ARC.total;
    var lo = 0;
    var hi = ARC.n;
    while (hi - lo > 1) {
      var mid = (lo + hi) >> 1;
      if (ARC.lengths[mid] < want) lo = mid;
      else hi = mid;
    }
    var span = ARC.lengths[hi] - ARC.lengths[lo] || 1;
    return ((lo + (want - ARC.lengths[lo]) / span) / ARC.n) * Math.PI;
  }

  function gauss() {
    return (Math.random() + Math.random() + Math.random() - 1.5) / 1.5;
  }

  // A round dot of light, drawn once and stamped many times.
  function sprite(rgb) {
    var size = 32;
    var c = document.createElement('canvas');
    c.width = c.height = size;
    var g = c.getContext('2d');
    var grad = g.createRadialGradient(size / 2, size / 2, 0, size / 2, size / 2, size / 2);
    grad.addColorStop(0, 'rgba(' + rgb + ',1)');
    grad.addColorStop(0.22, 'rgba(' + rgb + ',.85)');
    grad.addColorStop(0.5, 'rgba(' + rgb + ',.22)');
    grad.addColorStop(1, 'rgba(' + rgb + ',0)');
    g.fillStyle = grad;
    g.fillRect(0, 0, size, size);
    return c;
  }

  // One particle of the outline, the filling or the halo, in curve units around the middle.
  function particle(kind) {
    var fraction = Math.random();
    var t = tAt(fraction) * (Math.random() < 0.5 ? -1 : 1);
    var k;
    if (kind === 'edge') k = 1 - Math.abs(gauss()) * 0.045;
    else if (kind === 'inner') k = 1 - Math.min(0.9, -Math.log(1e-4 + Math.random()) * 0.2);
    else k = 1.03 + Math.random() * 0.1;
    var colour = kind === 'edge' ? (Math.random() < 0.55 ? 0 : Math.random() < 0.7 ? 1 : 2) : Math.random() < 0.6 ? 1 : 2;
    return {
      ux: curveX(t),
      uy: curveY(t) - Y_MID,
      k: k,
      reveal: kind === 'edge' ? fraction : 1,
      size: kind === 'edge' ? 1.1 + Math.random() * 1.5 : kind === 'inner' ? 0.8 + Math.random() * 1.1 : 0.7 + Math.random() * 1.2,
      colour: colour,
      phase: Math.random() * TAU,
      twinkle: 0.5 + Math.random() * 1.2,
      jx: gauss() * 3,
      jy: gauss() * 3 - 1.5,
    };
  }

  // How much of a beat is in the air `x` seconds into the period: a strong and a weak pulse.
  function beatShape(x) {
    var a = (x - 0.1) / 0.07;
    var b = (x - 0.33) / 0.08;
    return Math.exp(-a * a) + 0.55 * Math.exp(-b * b);
  }

  function ease(x) {
    return x <= 0 ? 0 : x >= 1 ? 1 : 0.5 - 0.5 * Math.cos(Math.PI * x);
  }

  ZR.heartCurve = {
    start: function (canvas, options) {
      options = options || {};
      var drawSeconds = options.drawSeconds || 2.6;
      var still = ZR.reducedMotion();
      var sprites = COLOURS.map(sprite);
      var view = null; // { ctx, width, height, ratio, scale, cx, cy, glow }
      var edge = [];
      var inner = [];
      var halo = [];
      var sparks = [];
      var kick = 0; // extra beat from a tap, fading
      var drawnSent = false;
      var lastSeconds = 0;

      function populate(width) {
        var f = Math.max(0.55, Math.min(1.2, width / 520));
        function fill(list, kind, count) {
          while (list.length < count) list.push(particle(kind));
          list.length = count;
        }
        fill(edge, 'edge', Math.round(820 * f));
        fill(inner, 'inner', Math.round(300 * f * f));
        fill(halo, 'halo', Math.round(150 * f));
      }

      // The soft filled heart behind the particles, drawn once per size.
      function glowImage(v) {
        var c = document.createElement('canvas');
        c.width = Math.round(v.width * v.ratio);
        c.height = Math.round(v.height * v.ratio);
        var g = c.getContext('2d');
        g.setTransform(v.ratio, 0, 0, v.ratio, 0, 0);
        g.beginPath();
        for (var i = 0; i <= 200; i++) {
          var t = (i / 200) * TAU;
          var x = v.cx + curveX(t) * v.scale;
          var y = v.cy - (curveY(t) - Y_MID) * v.scale;
          if (i) g.lineTo(x, y);
          else g.moveTo(x, y);
        }
        g.closePath();
        var grad = g.createRadialGradient(v.cx, v.cy, 0, v.cx, v.cy, v.scale * 17);
        grad.addColorStop(0, 'rgba(255,60,120,.08)');
        grad.addColorStop(0.7, 'rgba(255,70,130,.22)');
        grad.addColorStop(1, 'rgba(255,90,150,.42)');
        g.shadowColor = 'rgba(255,50,120,.75)';
        g.shadowBlur = v.scale * 2.2 * v.ratio;
        g.fillStyle = grad;
        g.fill();
        return c;
      }

      function measure() {
        var fit = ZR.fitCanvas(canvas);
        var scale = Math.min((fit.width * 0.82) / 32, (fit.height * 0.84) / 28.92);
        view = {
          ctx: fit.ctx,
          width: fit.width,
          height: fit.height,
          ratio: fit.ratio,
          scale: scale,
          cx: fit.width / 2,
          cy: fit.height / 2,
        };
        view.glow = glowImage(view);
        populate(fit.width);
      }

      function stamp(ctx, p, x, y, alpha, grow) {
        var d = p.size * 4 * grow;
        ctx.globalAlpha = alpha;
        ctx.drawImage(sprites[p.colour], x - d / 2, y - d / 2, d, d);
      }

      function emit(count, speed) {
        for (var i = 0; i < count && sparks.length < 160; i++) {
          var p = edge[(Math.random() * edge.length) | 0];
          var a = Math.random() * TAU;
          sparks.push({ ux: p.ux, uy: p.uy, vx: Math.cos(a) * speed, vy: Math.sin(a) * speed - speed * 0.3, age: 0, life: 0.6 + Math.random() * 0.6, size: 0.8 + Math.random() * 1.2, colour: 2 + (Math.random() < 0.4 ? 1 : 0) });
        }
      }

      function frame(seconds, dt) {
        var v = view;
        var ctx = v.ctx;
        var s = v.scale;
        var progress = still ? 1 : ease(seconds / drawSeconds);
        var after = still ? 10 : seconds - drawSeconds;
        var pulse = 0;
        if (!still && after > 0.3) pulse = beatShape((after - 0.3) % PERIOD);
        kick *= Math.exp(-dt * 5);
        var beat = 1 + 0.045 * pulse + 0.09 * kick;

        ctx.globalCompositeOperation = 'source-over';
        ctx.globalAlpha = 1;
        ctx.clearRect(0, 0, v.width, v.height);

        if (after > 0) {
          ctx.globalAlpha = Math.min(1, after / 0.9) * (0.7 + 0.3 * pulse + 0.3 * kick);
          var gw = v.width * beat;
          var gh = v.height * beat;
          ctx.drawImage(v.glow, v.cx - gw / 2, v.cy - gh / 2, gw, gh);
        }

        ctx.globalCompositeOperation = 'lighter';
        var i, p, k, settle, alpha;
        for (i = 0; i < edge.length; i++) {
          p = edge[i];
          if (p.reveal > progress) continue;
          settle = still ? 1 : ease(((progress - p.reveal) * drawSeconds) / 0.5);
          k = p.k * beat;
          alpha = still ? 0.8 : 0.55 + 0.45 * Math.sin(p.phase + seconds * p.twinkle);
          stamp(ctx, p, v.cx + (p.ux * k + p.jx * (1 - settle)) * s, v.cy - (p.uy * k + p.jy * (1 - settle)) * s, alpha * settle, 1);
        }
        if (after > 0) {
          var fade = Math.min(1, after / 1.2);
          for (i = 0; i < inner.length; i++) {
            p = inner[i];
            k = p.k * (1 + (beat - 1) * p.k);
            alpha = still ? 0.45 : 0.3 + 0.25 * Math.sin(p.phase + seconds * p.twinkle);
            stamp(ctx, p, v.cx + p.ux * k * s, v.cy - p.uy * k * s, alpha * fade, 1);
          }
          for (i = 0; i < halo.length; i++) {
            p = halo[i];
            // The halo swells a little later and further than the outline, and drifts.
            k = p.k * (1 + 0.08 * pulse + 0.14 * kick) + (still ? 0 : 0.012 * Math.sin(p.phase + seconds * 0.7));
            alpha = still ? 0.3 : 0.18 + 0.16 * Math.sin(p.phase * 2 + seconds * p.twinkle);
            stamp(ctx, p, v.cx + p.ux * k * s, v.cy - p.uy * k * s, alpha * fade, 0.9);
          }
        }

        // The two pens while the outline is being traced, with sparks trailing behind.
        if (progress < 1) {
          var t = tAt(progress);
          var px = curveX(t);
          var py = curveY(t) - Y_MID;
          for (var side = -1; side <= 1; side += 2) {
            ctx.globalAlpha = 1;
            var d = 5 + s * 0.9;
            ctx.drawImage(sprites[3], v.cx + side * px * s - d, v.cy - py * s - d, d * 2, d * 2);
            if (sparks.length < 160 && Math.random() < dt * 50) {
              var a = Math.random() * TAU;
              sparks.push({ ux: side * px, uy: py, vx: Math.cos(a) * 2.5, vy: Math.sin(a) * 2.5, age: 0, life: 0.5 + Math.random() * 0.5, size: 0.7 + Math.random(), colour: 2 });
            }
          }
        }
        for (i = sparks.length - 1; i >= 0; i--) {
          p = sparks[i];
          p.age += dt;
          if (p.age >= p.life) {
            sparks.splice(i, 1);
            continue;
          }
          p.ux += p.vx * dt;
          p.uy += p.vy * dt;
          p.vy -= 3 * dt; // they sink slowly
          stamp(ctx, p, v.cx + p.ux * s, v.cy - p.uy * s, 1 - p.age / p.life, 1);
        }
        ctx.globalCompositeOperation = 'source-over';
        ctx.globalAlpha = 1;

        if (!drawnSent && progress >= 1) {
          drawnSent = true;
          if (options.onDrawn) options.onDrawn();
        }
      }

      measure();
      var stopLoop = null;
      var removeResize = ZR.onResize(function () {
        measure();
        if (still) frame(0, 0);
        else frame(lastSeconds, 0);
      });
      if (still) {
        frame(0, 0);
      } else {
        stopLoop = ZR.loop(function (seconds, dt) {
          lastSeconds = seconds;
          frame(seconds, dt);
        });
      }

      return {
        pulse: function () {
          if (still) return;
          kick = 1;
          emit(36, 9);
        },
        stop: function () {
          if (stopLoop) stopLoop();
          removeResize();
        },
      };
    },
  };
})();
