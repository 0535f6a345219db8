/* A tree of hearts on a canvas.
 *
 *   ZR.heartTree.start(canvas, { seed: 7, onGrown: fn })
 *
 * The trunk and its branches grow from the ground (about two and a half seconds), then a crown
 * of small pink and red hearts opens from the middle outward into one big heart, which then
 * breathes slowly while single hearts come loose and drift to the ground like falling leaves,
 * lie there a while and fade. A tap or click on the tree sends out a little burst of hearts.
 * Light on the processor: the grown tree and the opened crown are painted once into offscreen
 * canvases, each frame only copies them and draws the few hearts in motion (at most 30 frames
 * a second once everything has grown). Under reduced motion the grown tree stands still.
 * Returns { stop() }.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  var COLOURS = ['#ff4d6d', '#ff6f91', '#ff8fab', '#f0506e', '#e0314f', '#ffa3bf', '#d6336c', '#ff7a7a'];
  var EDGE_COLOURS = ['#e0314f', '#d6336c', '#f0506e', '#c9184a'];
  var GROW = 2.6; // seconds for trunk and branches
  var BLOOM = 2.4; // seconds for the crown to open
  var POP = 0.45; // seconds one heart takes to open
  var SPRITE = 96; // sprite size in device pixels; the heart is HEART_W of it wide
  var HEART_W = 84;

  // A small seeded generator, so the same page always grows the same tree.
  function random(seed) {
    var s = seed >>> 0 || 1;
    return function () {
      s = (s + 0x6d2b79f5) >>> 0;
      var t = s;
      t = Math.imul(t ^ (t >>> 15), t | 1);
      t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
      return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
  }

  // A heart `size` wide, centred on 0,0, tip down.
  function heartPath(ctx, size) {
    var s = size / 2;
    ctx.beginPath();
    ctx.moveTo(0, -0.42 * s);
    ctx.bezierCurveTo(-0.12 * s, -0.95 * s, -1.0 * s, -0.98 * s, -1.0 * s, -0.28 * s);
    ctx.bezierCurveTo(-1.0 * s, 0.2 * s, -0.45 * s, 0.52 * s, 0, 0.92 * s);
    ctx.bezierCurveTo(0.45 * s, 0.52 * s, 1.0 * s, 0.2 * s, 1.0 * s, -0.28 * s);
    ctx.bezierCurveTo(1.0 * s, -0.98 * s, 0.12 * s, -0.95 * s, 0, -0.42 * s);
    ctx.closePath();
  }

  // One pre-drawn heart per colour, with a little shine on the left lobe.
  function makeSprites(colours) {
    return colours.map(function (colour) {
      var c = document.createElement('canvas');
      c.width = c.height = SPRITE;
      var g = c.getContext('2d');
      g.translate(SPRITE / 2, SPRITE / 2 + 2);
      heartPath(g, HEART_W);
      g.fillStyle = colour;
      g.fill();
      var u = HEART_W / 56;
      var shine = g.createRadialGradient(-13 * u, -12 * u, u, -13 * u, -12 * u, 13 * u);
      shine.addColorStop(0, 'rgba(255,255,255,0.55)');
      shine.addColorStop(1, 'rgba(255,255,255,0)');
      g.fillStyle = shine;
      g.fill();
      return c;
    });
  }

  function inside(poly, x, y) {
    var hit = false;
    for (var i = 0, j = poly.length - 1; i < poly.length; j = i++) {
      var a = poly[i];
      var b = poly[j];
      if (a.y > y !== b.y > y && x < ((b.x - a.x) * (y - a.y)) / (b.y - a.y) + a.x) hit = !hit;
    }
    return hit;
  }

  // Where everything goes for a canvas of w x h CSS pixels.
  function layout(w, h, seed) {
    var rand = random(seed);
    // The crown is the classic heart curve x = 16 sin^3 t, y = 13 cos t - 5 cos 2t - ...,
    // which spans 32 units across and about 29 from the lobes to the tip.
    var trunkShare = 0.34; // visible trunk below the crown, as a share of the crown's height
    var k = Math.min((h * 0.86) / (29 * (1 + trunkShare)), (w * 0.86) / 32);
    var used = 29 * k * (1 + trunkShare);
    var top = h * 0.05 + (h * 0.86 - used) * 0.5;
    var cx = w / 2;
    var cy = top + 12 * k; // the curve's origin; its lobes reach about 12 units above it
    var poly = [];
    for (var i = 0; i < 120; i++) {
      var t = (i / 120) * Math.PI * 2;
      var sx = Math.sin(t);
      poly.push({
        x: cx + 16 * sx * sx * sx * k,
        y: cy - (13 * Math.cos(t) - 5 * Math.cos(2 * t) - 2 * Math.cos(3 * t) - Math.cos(4 * t)) * k,
      });
    }
    var tipY = cy + 17 * k;
    var groundY = Math.min(h - 6, tipY + 29 * k * trunkShare);
    var inner = []; // the outline pulled in a little: branch tips stay under the hearts
    poly.forEach(function (p) {
      inner.push({ x: cx + (p.x - cx) * 0.86, y: cy - 2 * k + (p.y - cy + 2 * k) * 0.86 });
    });

    // Branches: quadratic curves, each starting where its parent ends.
    var branches = [];
    var unit = k;
    function add(x, y, angle, len, width, depth, t0) {
      var ex = x + Math.sin(angle) * len;
      var ey = y - Math.cos(angle) * len;
      var bend = (rand() - 0.5) * len * 0.35;
      var b = {
        x0: x,
        y0: y,
        qx: (x + ex) / 2 + Math.cos(angle) * bend,
        qy: (y + ey) / 2 + Math.sin(angle) * bend,
        x1: ex,
        y1: ey,
        w0: width,
        w1: Math.max(0.8, width * 0.66),
        depth: depth,
        t0: t0,
        dur: len,
      };
      branches.push(b);
      if (depth >= 5 || b.w1 < 1) return;
      var n = depth < 2 ? 3 : rand() < 0.55 ? 2 : 3;
      for (var i = 0; i < n; i++) {
        var spread = 0.42 + rand() * 0.3;
        var a = angle + (i - (n - 1) / 2) * spread + (rand() - 0.5) * 0.3;
        // Branches lean back toward the sky instead of hanging down.
        if (a > 1.9) a = 1.9 - rand() * 0.3;
        if (a < -1.9) a = -1.9 + rand() * 0.3;
        var l = len * (0.66 + rand() * 0.16);
        for (var tries = 0; tries < 4; tries++) {
          if (inside(inner, ex + Math.sin(a) * l, ey - Math.cos(a) * l)) break;
          l *= 0.72;
          a *= 0.8;
        }
        if (tries === 4 || l < unit * 0.6) continue;
        add(ex, ey, a, l, b.w1 * (0.82 + rand() * 0.14), depth + 1, t0 + b.dur);
      }
    }
    var trunkTop = cy + 1.5 * k;
    var trunkW = Math.max(7, k * 1.55);
    var trunk = {
      x0: cx,
      y0: groundY + 2,
      qx: cx - k * 0.9,
      qy: (groundY + trunkTop) / 2,
      x1: cx + k * 0.2,
      y1: trunkTop,
      w0: trunkW,
      w1: trunkW * 0.62,
      depth: 0,
      t0: 0,
      dur: groundY - trunkTop,
    };
    branches.push(trunk);
    // Roots, so the trunk stands on the ground instead of on a point.
    [-1, 1].forEach(function (side) {
      branches.push({
        x0: cx + side * trunkW * 0.15,
        y0: groundY,
        qx: cx + side * trunkW * 0.8,
        qy: groundY + 1,
        x1: cx + side * trunkW * 1.7,
        y1: groundY + 4,
        w0: trunkW * 0.4,
        w1: 1.2,
        depth: 0,
        t0: 0,
        dur: trunkW * 3,
      });
    });
    var limbs = [-1.2, -0.62, -0.05, 0.55, 1.15];
    limbs.forEach(function (a) {
      var l = k * (7.2 + rand() * 1.6) * (1 - Math.abs(a) * 0.12);
      add(trunk.x1, trunk.y1, a + (rand() - 0.5) * 0.15, l, trunk.w1 * 0.7, 1, trunk.dur);
    });
    // Two low limbs from the trunk into the narrow lower half of the crown.
    [-0.95, 0.95].forEach(function (a) {
      var sy = trunkTop + (tipY - trunkTop) * 0.55;
      add(cx - k * 0.1, sy, a, k * 4.2, trunk.w1 * 0.5, 2, trunk.dur * 0.7);
    });
    var end = 0;
    branches.forEach(function (b) {
      end = Math.max(end, b.t0 + b.dur);
    });
    branches.forEach(function (b) {
      b.t0 = (b.t0 / end) * GROW;
      b.dur = (b.dur / end) * GROW;
    });

    // The crown: a jittered grid of hearts inside the outline, and a row along it.
    var hearts = [];
    var step = Math.max(7.5, Math.min(14, k * 0.78));
    var reach = 18 * k;
    function heart(x, y, size, palette) {
      var d = Math.sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / reach;
      hearts.push({
        x: x,
        y: y,
        size: size,
        angle: (rand() - 0.5) * 0.7,
        sprite: palette === 'edge' ? COLOURS.length + Math.floor(rand() * EDGE_COLOURS.length) : Math.floor(rand() * COLOURS.length),
        at: GROW * 0.72 + BLOOM * (0.78 * Math.min(1, d) + 0.22 * rand()) - POP,
        alpha: 0.82 + rand() * 0.18,
      });
    }
    for (var gy = cy - 13 * k; gy < tipY; gy += step * 0.86) {
      for (var gx = cx - 17 * k; gx < cx + 17 * k; gx += step) {
        var x = gx + (rand() - 0.5) * step * 0.8;
        var y = gy + (rand() - 0.5) * step * 0.8;
        if (inside(poly, x, y)) heart(x, y, step * (1.05 + rand() * 0.55), 'fill');
      }
    }
    var len = 0;
    var perimeter = [];
    for (var p = 0; p < poly.length; p++) {
      var a = poly[p];
      var b = poly[(p + 1) % poly.length];
      var seg = Math.hypot(b.x - a.x, b.y - a.y);
      perimeter.push({ a: a, b: b, from: len, len: seg });
      len += seg;
    }
    var edgeStep = step * 0.95;
    for (var s = 0, seg = 0; s < len; s += edgeStep) {
      while (perimeter[seg].from + perimeter[seg].len < s) seg++;
      var e = perimeter[seg];
      var f = (s - e.from) / e.len;
      var ex = e.a.x + (e.b.x - e.a.x) * f;
      var ey = e.a.y + (e.b.y - e.a.y) * f;
      // A little inward, toward the middle of the crown.
      var dx = cx - ex;
      var dy = cy - 2 * k - ey;
      var dl = Math.hypot(dx, dy) || 1;
      heart(ex + (dx / dl) * step * 0.35, ey + (dy / dl) * step * 0.35, step * (1.2 + rand() * 0.35), 'edge');
    }
    hearts.sort(function (p, q) {
      return p.at - q.at;
    });
    return {
      w: w,
      h: h,
      k: k,
      cx: cx,
      cy: cy - 2.5 * k, // the middle of the crown, for its breathing
      groundY: groundY,
      branches: branches,
      hearts: hearts,
      bloomed: hearts.length ? hearts[hearts.length - 1].at + POP : GROW,
    };
  }

  function point(b, u) {
    var v = 1 - u;
    return {
      x: v * v * b.x0 + 2 * v * u * b.qx + u * u * b.x1,
      y: v * v * b.y0 + 2 * v * u * b.qy + u * u * b.y1,
    };
  }

  var BARK = ['#5b3124', '#6a3a2b', '#7a4533', '#8a513d', '#9a5d48', '#a86a54'];

  // A branch as a tapered shape, grown to `f` (0..1) of its length; `scale` and `shift` make
  // the narrower strips of light and shade along the thick ones.
  function branchShape(ctx, b, f, scale, shift) {
    var n = b.depth < 2 ? 14 : 6;
    var left = [];
    var right = [];
    var tip = null;
    for (var i = 0; i <= n; i++) {
      var u = (i / n) * f;
      var p = point(b, u);
      var q = point(b, Math.min(1, u + 0.01));
      var r = point(b, Math.max(0, u - 0.01));
      var tx = q.x - r.x;
      var ty = q.y - r.y;
      var tl = Math.hypot(tx, ty) || 1;
      var half = (b.w0 + (b.w1 - b.w0) * u) / 2;
      var nx = -ty / tl;
      var ny = tx / tl;
      var cx = p.x + nx * half * shift;
      var cy = p.y + ny * half * shift;
      left.push({ x: cx + nx * half * scale, y: cy + ny * half * scale });
      right.push({ x: cx - nx * half * scale, y: cy - ny * half * scale });
      tip = { x: cx, y: cy, r: half * scale };
    }
    ctx.beginPath();
    ctx.moveTo(left[0].x, left[0].y);
    for (i = 1; i <= n; i++) ctx.lineTo(left[i].x, left[i].y);
    for (i = n; i >= 0; i--) ctx.lineTo(right[i].x, right[i].y);
    ctx.closePath();
    ctx.fill();
    ctx.beginPath();
    ctx.arc(tip.x, tip.y, tip.r, 0, Math.PI * 2);
    ctx.fill();
  }

  function drawBranch(ctx, b, f) {
    if (f <= 0) return;
    ctx.fillStyle = BARK[Math.min(BARK.length - 1, b.depth)];
    branchShape(ctx, b, f, 1, 0);
    if (b.depth <= 2 && b.w0 > 3) {
      ctx.fillStyle = 'rgba(255, 226, 205, 0.16)';
      branchShape(ctx, b, f, 0.28, -0.45);
      ctx.fillStyle = 'rgba(40, 14, 8, 0.2)';
      branchShape(ctx, b, f, 0.3, 0.55);
    }
  }

  function drawGround(ctx, g) {
    var w = g.w;
    var y = g.groundY;
    // A soft light behind the crown.
    var glow = ctx.createRadialGradient(g.cx, g.cy, 0, g.cx, g.cy, g.k * 19);
    glow.addColorStop(0, 'rgba(255, 255, 255, 0.45)');
    glow.addColorStop(1, 'rgba(255, 255, 255, 0)');
    ctx.fillStyle = glow;
    ctx.fillRect(g.cx - g.k * 19, g.cy - g.k * 19, g.k * 38, g.k * 38);
    ctx.save();
    ctx.translate(g.cx, y + 3);
    ctx.scale(1, 0.14);
    var shade = ctx.createRadialGradient(0, 0, 0, 0, 0, w * 0.44);
    shade.addColorStop(0, 'rgba(140, 60, 70, 0.30)');
    shade.addColorStop(1, 'rgba(140, 60, 70, 0)');
    ctx.fillStyle = shade;
    ctx.beginPath();
    ctx.arc(0, 0, w * 0.44, 0, Math.PI * 2);
    ctx.fill();
    ctx.restore();
    ctx.strokeStyle = 'rgba(150, 70, 80, 0.35)';
    ctx.lineWidth = 1.5;
    ctx.beginPath();
    ctx.moveTo(g.cx - w * 0.36, y + 6);
    ctx.quadraticCurveTo(g.cx, y - 4, g.cx + w * 0.36, y + 6);
    ctx.stroke();
  }

  function easeOutBack(x) {
    var c = 1.7;
    x -= 1;
    return 1 + (c + 1) * x * x * x + c * x * x;
  }

  ZR.heartTree = {
    start: function (canvas, options) {
      options = options || {};
      var seed = options.seed || 520;
      var calm = ZR.reducedMotion();
      var sprites = makeSprites(COLOURS.concat(EDGE_COLOURS));
      var fit, ctx, ratio, geo;
      var treeLayer, crownLayer, crownCtx, treeReady, committed;
      var falling = [];
      var landed = [];
      var rising = [];
      var nextFall = 0;
      var lastDraw = -1;
      var grownSent = false;
      var clock = calm ? 1e6 : 0;
      var rand = random(seed * 7 + 1);

      function layer() {
        var c = document.createElement('canvas');
        c.width = canvas.width;
        c.height = canvas.height;
        var g = c.getContext('2d');
        g.setTransform(ratio, 0, 0, ratio, 0, 0);
        return { canvas: c, ctx: g };
      }

      function setup() {
        fit = ZR.fitCanvas(canvas);
        ctx = fit.ctx;
        ratio = fit.ratio;
        geo = layout(fit.width, fit.height, seed);
        treeLayer = layer();
        var crown = layer();
        crownLayer = crown.canvas;
        crownCtx = crown.ctx;
        treeReady = false;
        committed = 0;
        falling = [];
        landed = [];
        rising = [];
        lastDraw = -1;
      }

      function sprite(g, h, x, y, size, angle, alpha) {
        var d = (size * SPRITE) / HEART_W;
        var c = Math.cos(angle);
        var s = Math.sin(angle);
        g.setTransform(ratio * c, ratio * s, -ratio * s, ratio * c, ratio * x, ratio * y);
        g.globalAlpha = alpha;
        g.drawImage(sprites[h], -d / 2, -d / 2, d, d);
      }

      function finishTree() {
        var g = treeLayer.ctx;
        drawGround(g, geo);
        geo.branches.forEach(function (b) {
          drawBranch(g, b, 1);
        });
        treeReady = true;
      }

      function spawnFall(t) {
        var hs = geo.hearts;
        if (!hs.length) return;
        var from = hs[Math.floor(rand() * hs.length)];
        falling.push({
          x: from.x,
          y: from.y,
          x0: from.x,
          size: from.size * (0.9 + rand() * 0.25),
          sprite: from.sprite,
          speed: geo.k * (2.2 + rand() * 1.6),
          sway: geo.k * (0.8 + rand() * 1.2),
          freq: 0.5 + rand() * 0.6,
          phase: rand() * Math.PI * 2,
          born: t,
          rest: geo.groundY - 2 + rand() * 10,
        });
      }

      function frame(t, dt) {
        var g = geo;
        if (!treeReady && t >= GROW) finishTree();
        while (committed < g.hearts.length && g.hearts[committed].at + POP <= t) {
          var c = g.hearts[committed++];
          sprite(crownCtx, c.sprite, c.x, c.y, c.size, c.angle, c.alpha);
        }
        crownCtx.setTransform(ratio, 0, 0, ratio, 0, 0);
        crownCtx.globalAlpha = 1;

        var moving = !calm && t < g.bloomed + 0.5;
        // Once grown, 30 frames a second are plenty for leaves drifting down.
        if (!moving && lastDraw >= 0 && t - lastDraw < 1 / 31) return;
        lastDraw = t;

        ctx.setTransform(1, 0, 0, 1, 0, 0);
        ctx.globalAlpha = 1;
        ctx.clearRect(0, 0, canvas.width, canvas.height);
        if (treeReady) {
          ctx.drawImage(treeLayer.canvas, 0, 0);
        } else {
          ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
          drawGround(ctx, g);
          g.branches.forEach(function (b) {
            drawBranch(ctx, b, Math.min(1, (t - b.t0) / b.dur));
          });
        }

        // The opened crown breathes, slowly, a few percent.
        var beat = 1;
        if (!calm && t > g.bloomed) {
          var since = t - g.bloomed;
          beat = 1 + 0.022 * Math.min(1, since / 2) * (0.5 - 0.5 * Math.cos((since * Math.PI * 2) / 2.6));
        }
        ctx.setTransform(ratio * beat, 0, 0, ratio * beat, ratio * g.cx * (1 - beat), ratio * g.cy * (1 - beat));
        ctx.drawImage(crownLayer, 0, 0, g.w, g.h);

        // Hearts still opening.
        for (var i = committed; i < g.hearts.length && g.hearts[i].at <= t; i++) {
          var o = g.hearts[i];
          var f = (t - o.at) / POP;
          sprite(ctx, o.sprite, o.x, o.y, o.size * Math.max(0.05, easeOutBack(f)), o.angle, o.alpha * Math.min(1, f * 2));
        }

        if (!calm && t > g.bloomed - BLOOM * 0.3) {
          if (t >= nextFall) {
            if (falling.length < 16) spawnFall(t);
            nextFall = t + 0.35 + rand() * 0.6;
          }
          drawFalling(t, dt);
        }
        drawRising(t);
        ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
        ctx.globalAlpha = 1;

        if (!grownSent && t >= g.bloomed) {
          grownSent = true;
          if (options.onGrown) options.onGrown();
        }
      }

      function drawFalling(t) {
        var keep = [];
        falling.forEach(function (p) {
          var age = t - p.born;
          // Position follows from the age, so a throttled tab stays right.
          var y = p.y + p.speed * age;
          var x = p.x0 + Math.sin(age * p.freq * Math.PI * 2 + p.phase) * p.sway * Math.min(1, age);
          var angle = Math.sin(age * p.freq * Math.PI * 2 + p.phase + 1) * 0.6;
          if (y >= p.rest) {
            if (landed.length >= 36) landed.shift();
            landed.push({ x: x, y: p.rest, size: p.size, sprite: p.sprite, angle: angle, at: t });
            return;
          }
          sprite(ctx, p.sprite, x, y, p.size, angle, Math.min(1, age * 3));
          keep.push(p);
        });
        falling = keep;
        landed = landed.filter(function (l) {
          var age = t - l.at;
          if (age > 9) return false;
          sprite(ctx, l.sprite, l.x, l.y, l.size, l.angle, age < 7.5 ? 0.9 : 0.9 * (9 - age) / 1.5);
          return true;
        });
      }

      function drawRising(t) {
        rising = rising.filter(function (r) {
          var age = t - r.born;
          if (age > 1.3) return false;
          // Out from the finger, slowing down, then drifting up as it fades.
          var out = 1 - Math.exp(-age * 3.2);
          var x = r.x + r.vx * out;
          var y = r.y + r.vy * out - 40 * age * age;
          var size = r.size * Math.min(1, 0.3 + age * 4);
          sprite(ctx, r.sprite, x, y, size, r.vx * 0.004, Math.max(0, Math.min(1, (1.3 - age) / 0.6)));
          return true;
        });
      }

      // A tap or click sends a small burst of hearts out from where it touched.
      function tap(event) {
        if (calm) return;
        var box = canvas.getBoundingClientRect();
        var x = event.clientX - box.left;
        var y = event.clientY - box.top;
        var n = 9;
        for (var i = 0; i < n; i++) {
          var a = (i / n) * Math.PI * 2 + rand() * 0.5;
          var reach = geo.k * (2.6 + rand() * 2);
          rising.push({
            x: x,
            y: y,
            vx: Math.cos(a) * reach,
            vy: Math.sin(a) * reach,
            size: geo.k * (1.3 + rand() * 0.9),
            sprite: COLOURS.length + Math.floor(rand() * EDGE_COLOURS.length),
            born: clock,
          });
        }
        if (rising.length > 60) rising.splice(0, rising.length - 60);
      }

      setup();
      var stopLoop = null;
      if (calm) {
        frame(clock, 0);
      } else {
        stopLoop = ZR.loop(function (seconds, dt) {
          clock = seconds;
          frame(seconds, dt);
        });
        canvas.addEventListener('pointerdown', tap);
      }
      var removeResize = ZR.onResize(function () {
        var box = canvas.getBoundingClientRect();
        if (Math.round(box.width) === geo.w && Math.round(box.height) === geo.h) return;
        setup();
        if (calm) frame(clock, 0);
      });

      return {
        stop: function () {
          if (stopLoop) stopLoop();
          removeResize();
          canvas.removeEventListener('pointerdown', tap);
        },
      };
    },
  };
})();
