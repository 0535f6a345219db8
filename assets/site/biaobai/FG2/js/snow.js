/* Softly falling snow (or petals), light on the processor: a few dozen pre-drawn sprites on
 * one canvas, nothing else.
 *
 *   ZR.snow.start(target, { kind: 'snow' | 'petals', density: 1, max: 140, speed: 1,
 *                           wind: 0.2, colours: ['255,255,255', ...] })
 *
 * `target` is a <canvas> (drawn at its own CSS size, so give it one) or any other element,
 * which then receives a canvas covering it (a fixed layer over the window for <body>).
 * The number of flakes follows the area (`density` 1: one per 6000 square pixels, at most
 * `max`). `wind` pushes them sideways (-1..1); `colours` are "r,g,b" strings. Under reduced
 * motion a still scattering is drawn once. Returns { canvas, stop() }.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  var SNOW = ['255,255,255', '236,240,255', '255,232,242'];
  var PETALS = ['255,183,206', '255,150,186', '255,214,226'];

  function softDot(rgb) {
    var size = 32;
    var c = document.createElement('canvas');
    c.width = c.height = size;
    var g = c.getContext('2d');
    var grad = g.createRadialGradient(16, 16, 0, 16, 16, 16);
    grad.addColorStop(0, 'rgba(' + rgb + ',1)');
    grad.addColorStop(0.35, 'rgba(' + rgb + ',.8)');
    grad.addColorStop(1, 'rgba(' + rgb + ',0)');
    g.fillStyle = grad;
    g.fillRect(0, 0, size, size);
    return c;
  }

  // A six-armed crystal with small side branches.
  function crystal(rgb) {
    var size = 32;
    var c = document.createElement('canvas');
    c.width = c.height = size;
    var g = c.getContext('2d');
    g.translate(16, 16);
    g.strokeStyle = 'rgba(' + rgb + ',.95)';
    g.lineWidth = 1.6;
    g.lineCap = 'round';
    g.shadowColor = 'rgba(' + rgb + ',.9)';
    g.shadowBlur = 3;
    for (var i = 0; i < 6; i++) {
      g.beginPath();
      g.moveTo(0, 0);
      g.lineTo(0, -13);
      g.moveTo(0, -7);
      g.lineTo(-4, -10);
      g.moveTo(0, -7);
      g.lineTo(4, -10);
      g.stroke();
      g.rotate(Math.PI / 3);
    }
    return c;
  }

  function petal(rgb) {
    var c = document.createElement('canvas');
    c.width = 32;
    c.height = 32;
    var g = c.getContext('2d');
    var grad = g.createLinearGradient(0, 4, 0, 28);
    grad.addColorStop(0, 'rgba(255,240,245,.95)');
    grad.addColorStop(1, 'rgba(' + rgb + ',.95)');
    g.fillStyle = grad;
    g.beginPath();
    g.moveTo(16, 28);
    g.bezierCurveTo(4, 22, 5, 8, 12, 4);
    g.quadraticCurveTo(16, 7, 20, 4);
    g.bezierCurveTo(27, 8, 28, 22, 16, 28);
    g.fill();
    return c;
  }

  ZR.snow = {
    start: function (target, options) {
      options = options || {};
      var petals = options.kind === 'petals';
      var colours = options.colours || (petals ? PETALS : SNOW);
      var canvas = target;
      var made = false;
      if (!target || target.nodeName !== 'CANVAS') {
        var host = target || document.body;
        canvas = document.createElement('canvas');
        canvas.setAttribute('aria-hidden', 'true');
        var whole = host === document.body || host === document.documentElement;
        canvas.style.cssText =
          'position:' + (whole ? 'fixed' : 'absolute') + ';left:0;top:0;width:100%;height:100%;' +
          'pointer-events:none;z-index:' + (options.zIndex === undefined ? 0 : options.zIndex);
        if (!whole && window.getComputedStyle(host).position === 'static') host.style.position = 'relative';
        host.appendChild(canvas);
        made = true;
      }

      var round = colours.map(petals ? petal : softDot);
      var stars = petals ? null : colours.map(crystal);
      var density = options.density || 1;
      var max = options.max || 140;
      var speed = options.speed || 1;
      var wind = options.wind === undefined ? 0.2 : options.wind;
      var still = ZR.reducedMotion();
      var view = null;
      var flakes = [];

      function flake(anywhere) {
        var z = 0.35 + Math.random() * 0.65; // nearer flakes are bigger, brighter and faster
        var crystalFlake = !!stars && z > 0.75 && Math.random() < 0.3;
        return {
          x: Math.random() * view.width,
          y: anywhere ? Math.random() * view.height : -20 - Math.random() * 40,
          z: z,
          size: (petals ? 9 + z * 9 : crystalFlake ? 8 + z * 8 : 3 + z * 7) * (options.scale || 1),
          sprite: (crystalFlake ? stars : round)[(Math.random() * colours.length) | 0],
          turning: crystalFlake || petals,
          angle: Math.random() * Math.PI * 2,
          spin: (Math.random() - 0.5) * (petals ? 2.4 : 0.8),
          sway: 8 + Math.random() * 22,
          swaySpeed: 0.4 + Math.random() * 0.8,
          phase: Math.random() * Math.PI * 2,
          alpha: 0.35 + z * 0.55,
        };
      }

      function measure() {
        view = ZR.fitCanvas(canvas);
        var count = Math.max(12, Math.min(max, Math.round(((view.width * view.height) / 6000) * density)));
        while (flakes.length < count) flakes.push(flake(true));
        flakes.length = count;
        flakes.forEach(function (f) {
          if (f.x > view.width) f.x = Math.random() * view.width;
          if (f.y > view.height) f.y = Math.random() * view.height;
        });
      }

      function draw(seconds, dt) {
        var ctx = view.ctx;
        var ratio = view.ratio;
        ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
        ctx.clearRect(0, 0, view.width, view.height);
        for (var i = 0; i < flakes.length; i++) {
          var f = flakes[i];
          if (dt) {
            f.y += (18 + 46 * f.z) * speed * dt * (petals ? 0.8 : 1);
            f.x += wind * 30 * f.z * dt;
            f.angle += f.spin * dt;
            if (f.y > view.height + 20) {
              flakes[i] = f = flake(false);
            }
            if (f.x > view.width + 30) f.x -= view.width + 60;
            else if (f.x < -30) f.x += view.width + 60;
          }
          var x = f.x + Math.sin(f.phase + seconds * f.swaySpeed) * f.sway;
          var d = f.size;
          ctx.globalAlpha = f.alpha;
          if (f.turning) {
            var c = Math.cos(f.angle);
            var s = Math.sin(f.angle);
            // Petals tumble: their width breathes as they turn over.
            var w = petals ? 0.35 + 0.65 * Math.abs(Math.cos(f.phase + seconds * f.swaySpeed * 1.7)) : 1;
            ctx.setTransform(ratio * c * w, ratio * s * w, -ratio * s, ratio * c, ratio * x, ratio * f.y);
            ctx.drawImage(f.sprite, -d / 2, -d / 2, d, d);
            ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
          } else {
            ctx.drawImage(f.sprite, x - d / 2, f.y - d / 2, d, d);
          }
        }
        ctx.globalAlpha = 1;
      }

      measure();
      var last = 0;
      var removeResize = ZR.onResize(function () {
        measure();
        draw(last, 0);
      });
      var stopLoop = null;
      if (still) {
        draw(0, 0);
      } else {
        stopLoop = ZR.loop(function (seconds, dt) {
          last = seconds;
          draw(seconds, dt);
        });
      }
      return {
        canvas: canvas,
        stop: function () {
          if (stopLoop) stopLoop();
          removeResize();
          if (made && canvas.parentNode) canvas.parentNode.removeChild(canvas);
        },
      };
    },
  };
})();
