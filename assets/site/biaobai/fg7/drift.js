/* Something in the air over a picture: petals in spring, fireflies on a summer night, leaves
 * in autumn, snow in winter, twinkling stars at night, small hearts, or warm motes of light.
 *
 *   var drift = ZR.fg7Drift.start(canvas, { kind: 'petals' })
 *   drift.setKind('snow')   the old ones fade away while the new ones come in ('none': still air)
 *   drift.stop()
 *
 * Calm under reduced motion: nothing moves, the canvas stays empty.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  // How many at once, per 100,000 square pixels of canvas (at least a few on a small card).
  var DENSITY = { petals: 9, leaves: 6, snow: 26, fireflies: 9, stars: 9, hearts: 5, motes: 10, none: 0 };
  var TAU = Math.PI * 2;

  function rand(a, b) {
    return a + Math.random() * (b - a);
  }

  // One particle, placed anywhere at first (so the picture is never empty) or at its entry edge.
  function spawn(kind, w, h, anywhere) {
    var p = { kind: kind, age: 0, life: Infinity, fade: 0, dying: false, phase: rand(0, TAU) };
    var s = Math.min(w, h) / 300; // size relative to the card
    p.x = rand(0, w);
    switch (kind) {
      case 'petals':
        p.size = rand(4, 7.5) * s;
        p.y = anywhere ? rand(0, h) : -10;
        p.vx = rand(6, 22) * s;
        p.vy = rand(14, 26) * s;
        p.spin = rand(-1.6, 1.6);
        p.angle = rand(0, TAU);
        p.hue = rand(335, 352);
        break;
      case 'leaves':
        p.size = rand(5, 9) * s;
        p.y = anywhere ? rand(0, h) : -12;
        p.vx = rand(-8, 14) * s;
        p.vy = rand(18, 32) * s;
        p.spin = rand(-2, 2);
        p.angle = rand(0, TAU);
        p.hue = rand(14, 42);
        break;
      case 'snow':
        p.size = rand(1.2, 3.4) * s;
        p.y = anywhere ? rand(0, h) : -6;
        p.vx = rand(-5, 5) * s;
        p.vy = rand(16, 34) * s * (p.size / (2.3 * s));
        break;
      case 'fireflies':
        p.size = rand(1.6, 3) * s;
        p.y = rand(h * 0.3, h * 0.95);
        p.vx = rand(-8, 8) * s;
        p.vy = rand(-6, 4) * s;
        p.life = rand(6, 12);
        break;
      case 'stars':
        p.size = rand(2, 4.5) * s;
        p.y = rand(0, h * 0.55);
        p.vx = 0;
        p.vy = 0;
        p.life = rand(4, 8);
        break;
      case 'hearts':
        p.size = rand(5, 10) * s;
        p.y = anywhere ? rand(h * 0.2, h) : h + 12;
        p.vx = rand(-4, 4) * s;
        p.vy = -rand(16, 30) * s;
        p.hue = rand(338, 356);
        break;
      default: // motes: warm flecks of light floating up
        p.size = rand(1.4, 3.2) * s;
        p.y = anywhere ? rand(0, h) : h + 6;
        p.vx = rand(-4, 4) * s;
        p.vy = -rand(5, 12) * s;
    }
    if (p.life !== Infinity && anywhere) p.age = rand(0, p.life * 0.7);
    return p;
  }

  function heartPath(ctx, size) {
    var k = size / 16;
    ctx.beginPath();
    ctx.moveTo(0, 5 * k);
    ctx.bezierCurveTo(-9 * k, -1 * k, -7 * k, -10 * k, 0, -5 * k);
    ctx.bezierCurveTo(7 * k, -10 * k, 9 * k, -1 * k, 0, 5 * k);
    ctx.closePath();
  }

  function draw(ctx, p) {
    // Fade in over the first second, out when dying or near the end of a limited life.
    var alpha = Math.min(1, p.age / 1.0);
    if (p.life !== Infinity) alpha = Math.min(alpha, Math.max(0, (p.life - p.age) / 1.5));
    if (p.dying) alpha *= Math.max(0, 1 - p.fade);
    if (alpha <= 0.01) return;
    ctx.save();
    ctx.translate(p.x, p.y);
    switch (p.kind) {
      case 'petals':
        ctx.rotate(p.angle);
        ctx.scale(1, 0.55 + 0.45 * Math.abs(Math.cos(p.angle * 1.3)));
        ctx.globalAlpha = alpha * 0.9;
        ctx.fillStyle = 'hsl(' + p.hue + ',100%,85%)';
        ctx.beginPath();
        ctx.ellipse(0, 0, p.size, p.size * 0.62, 0, 0, TAU);
        ctx.fill();
        break;
      case 'leaves':
        ctx.rotate(p.angle);
        ctx.scale(1, 0.5 + 0.5 * Math.abs(Math.sin(p.angle)));
        ctx.globalAlpha = alpha * 0.92;
        ctx.fillStyle = 'hsl(' + p.hue + ',88%,52%)';
        ctx.beginPath();
        ctx.moveTo(0, -p.size);
        ctx.quadraticCurveTo(p.size * 0.8, 0, 0, p.size);
        ctx.quadraticCurveTo(-p.size * 0.8, 0, 0, -p.size);
        ctx.fill();
        break;
      case 'snow':
        ctx.globalAlpha = alpha * 0.9;
        ctx.fillStyle = '#fff';
        ctx.beginPath();
        ctx.arc(0, 0, p.size, 0, TAU);
        ctx.fill();
        break;
      case 'fireflies': {
        // A slow glow (about one breath every two seconds), never a flicker.
        var glow = 0.55 + 0.45 * Math.sin(p.phase + p.age * 2.6);
        ctx.globalAlpha = alpha * glow;
        var g = ctx.createRadialGradient(0, 0, 0, 0, 0, p.size * 5);
        g.addColorStop(0, 'rgba(255,255,210,1)');
        g.addColorStop(0.25, 'rgba(230,255,120,0.75)');
        g.addColorStop(1, 'rgba(200,255,100,0)');
        ctx.fillStyle = g;
        ctx.beginPath();
        ctx.arc(0, 0, p.size * 5, 0, TAU);
        ctx.fill();
        break;
      }
      case 'stars': {
        var tw = 0.5 + 0.5 * Math.sin(p.phase + p.age * 1.8);
        ctx.globalAlpha = alpha * tw;
        ctx.fillStyle = '#fffbe6';
        var r = p.size * (0.7 + 0.3 * tw);
        ctx.beginPath();
        ctx.moveTo(0, -r);
        ctx.quadraticCurveTo(r * 0.18, -r * 0.18, r, 0);
        ctx.quadraticCurveTo(r * 0.18, r * 0.18, 0, r);
        ctx.quadraticCurveTo(-r * 0.18, r * 0.18, -r, 0);
        ctx.quadraticCurveTo(-r * 0.18, -r * 0.18, 0, -r);
        ctx.fill();
        break;
      }
      case 'hearts':
        ctx.rotate(Math.sin(p.phase + p.age * 1.5) * 0.3);
        ctx.globalAlpha = alpha * 0.85;
        ctx.fillStyle = 'hsl(' + p.hue + ',95%,68%)';
        heartPath(ctx, p.size * 2);
        ctx.fill();
        break;
      default: {
        ctx.globalAlpha = alpha * (0.5 + 0.3 * Math.sin(p.phase + p.age * 1.2));
        var m = ctx.createRadialGradient(0, 0, 0, 0, 0, p.size * 3);
        m.addColorStop(0, 'rgba(255,246,214,0.95)');
        m.addColorStop(1, 'rgba(255,220,170,0)');
        ctx.fillStyle = m;
        ctx.beginPath();
        ctx.arc(0, 0, p.size * 3, 0, TAU);
        ctx.fill();
      }
    }
    ctx.restore();
  }

  function move(p, dt, t, w, h) {
    p.age += dt;
    if (p.dying) p.fade += dt / 1.2;
    switch (p.kind) {
      case 'petals':
      case 'leaves':
        p.x += (p.vx + Math.sin(p.phase + t * 0.9) * p.vy * 0.5) * dt;
        p.y += p.vy * dt;
        p.angle += p.spin * dt;
        break;
      case 'fireflies':
        p.vx += Math.sin(p.phase + t * 0.7) * 4 * dt;
        p.vy += Math.cos(p.phase * 1.3 + t * 0.6) * 4 * dt;
        p.x += p.vx * dt;
        p.y += p.vy * dt;
        break;
      case 'snow':
        p.x += (p.vx + Math.sin(p.phase + t * 0.8) * 6) * dt;
        p.y += p.vy * dt;
        break;
      default:
        p.x += (p.vx + Math.sin(p.phase + t * 0.6) * 3) * dt;
        p.y += p.vy * dt;
    }
    var gone = p.y > h + 20 || p.y < -24 || p.x < -30 || p.x > w + 30 || p.age > p.life;
    return !gone && !(p.dying && p.fade >= 1);
  }

  ZR.fg7Drift = {
    start: function (canvas, options) {
      var kind = (options && options.kind) || 'none';
      var quiet = { setKind: function () {}, stop: function () {} };
      if (!canvas || !canvas.getContext || ZR.reducedMotion()) return quiet;

      var fit = ZR.fitCanvas(canvas);
      var particles = [];
      var fresh = true; // the first kind fills the picture at once

      function wanted() {
        var n = DENSITY[kind] || 0;
        return n ? Math.max(8, Math.round((n * fit.width * fit.height) / 100000)) : 0;
      }

      var stopLoop = ZR.loop(function (t, dt) {
        var w = fit.width;
        var h = fit.height;
        var live = 0;
        for (var i = particles.length - 1; i >= 0; i--) {
          if (!move(particles[i], dt, t, w, h)) particles.splice(i, 1);
          else if (!particles[i].dying) live++;
        }
        var need = wanted();
        // New ones come in a few a second, so a change of season blows in rather than pops.
        var budget = fresh ? need : Math.max(1, Math.round(dt * 12));
        while (live < need && budget-- > 0) {
          particles.push(spawn(kind, w, h, fresh || kind === 'fireflies' || kind === 'stars'));
          live++;
        }
        fresh = false;
        var ctx = fit.ctx;
        ctx.clearRect(0, 0, w, h);
        for (var k = 0; k < particles.length; k++) draw(ctx, particles[k]);
      });

      var stopResize = ZR.onResize(function () {
        fit = ZR.fitCanvas(canvas);
      });

      return {
        setKind: function (next) {
          next = DENSITY.hasOwnProperty(next) ? next : 'none';
          if (next === kind) return;
          kind = next;
          particles.forEach(function (p) {
            p.dying = true;
          });
        },
        stop: function () {
          stopLoop();
          stopResize();
          fit.ctx.clearRect(0, 0, fit.width, fit.height);
        },
      };
    },
  };
})();
