/* The 3D album: the photos stand in a ring (on a narrow screen, two or three rings one above
 * the other, like a lantern) that turns slowly in perspective. Drag or swipe to spin it, tap a
 * photo to see it large.
 *
 *   ZR.album3d.start(stage, { photos: [address, ...], onOpen(index, addresses), speed })
 *   returns { pause(on), count(), stop() }
 *
 * `stage` holds an element .fg6-ring (and may hold .fg6-floor, the soft shadow below).
 * Addresses that are empty or cannot be a picture are left out; a picture that fails to load
 * is taken out and the ring spaces itself again, so there is never a hole or a broken
 * picture. Without any photo the stage gets the class is-empty (the page shows its heart).
 * With less motion asked for, the ring stands still until the reader turns it.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  var ASPECT = 386 / 640; // the photos' height to width, for the frames before they load
  var FRAME = 0.045; // the white border, as a share of the photo's width
  var TILT = -7; // degrees: the album seen slightly from above
  var ROW_GAP = 0.18; // between rings, as a share of a photo's height

  function usable(address) {
    return !!address && address.length <= 2048 && !/[\s<>"\\]/.test(address);
  }

  // Where the ring's photos end up on the screen: the largest distance from the centre, across
  // and up, of any corner, over a few positions of the turn.
  function extent(rows, perRow, cardW, cardH, R, P) {
    var step = (2 * Math.PI) / perRow;
    var across = 0;
    var up = 0;
    var height = rows * cardH + (rows - 1) * cardH * ROW_GAP;
    for (var part = 0; part < 4; part++) {
      for (var i = 0; i < perRow; i++) {
        var a = i * step + (part * step) / 4;
        for (var side = -1; side <= 1; side += 2) {
          var x = R * Math.sin(a) + side * (cardW / 2) * Math.cos(a);
          var z = R * Math.cos(a) - side * (cardW / 2) * Math.sin(a) - R;
          var scale = P / (P - z);
          across = Math.max(across, Math.abs(x) * scale);
          up = Math.max(up, (height / 2) * scale);
        }
      }
    }
    // The tilt lifts the far side a little.
    return { across: across, up: up + R * Math.sin((Math.abs(TILT) * Math.PI) / 180) };
  }

  function ringFor(cardW, perRow) {
    if (perRow >= 3) return ((cardW / 2) / Math.tan(Math.PI / perRow)) * 1.1;
    if (perRow === 2) return cardW * 0.36;
    return 0;
  }

  // The biggest photos that fit the stage, and in how many rows.
  function plan(n, width, height) {
    var best = null;
    var maxW = Math.min(width * 0.66, 380);
    for (var rows = 1; rows <= 3 && rows <= n; rows++) {
      var perRow = Math.ceil(n / rows);
      // Rings of three or two photos one above the other look like a box, not an album.
      if (rows > 1 && perRow < 4) continue;
      var lo = 40;
      var hi = maxW;
      for (var k = 0; k < 22; k++) {
        var w = (lo + hi) / 2;
        var cardH = w * ASPECT + 2 * w * FRAME;
        var R = ringFor(w, perRow);
        var P = Math.max(900, R * 3.4);
        var e = extent(rows, perRow, w, cardH, R, P);
        // Some air at the sides; a wide screen gets more of it.
        if (e.across <= Math.min(width / 2 - 10, width * 0.44) && e.up <= height / 2 - 12) lo = w;
        else hi = w;
      }
      // A second row is only worth it for clearly bigger photos.
      if (!best || lo > best.w * 1.08) {
        var h = lo * ASPECT + 2 * lo * FRAME;
        var radius = ringFor(lo, perRow);
        best = { rows: rows, perRow: perRow, w: lo, h: h, R: radius, P: Math.max(900, radius * 3.4) };
      }
    }
    return best;
  }

  ZR.album3d = {
    start: function (stage, options) {
      options = options || {};
      var ring = stage.querySelector('.fg6-ring');
      var floor = stage.querySelector('.fg6-floor');
      var calm = ZR.reducedMotion();
      var speed = calm ? 0 : options.speed || 8; // degrees a second
      var items = [];
      var layout = null;
      var angle = 0;
      var tilt = TILT;
      var spin = 0; // degrees a second left from a flick
      var paused = false;
      var drag = null;
      var stopLoop = null;
      var removers = [];

      function on(target, type, fn, opts) {
        target.addEventListener(type, fn, opts);
        removers.push(function () {
          target.removeEventListener(type, fn, opts);
        });
      }

      (options.photos || []).forEach(function (raw, number) {
        var address = (raw || '').trim();
        if (!usable(address)) return;
        var item = document.createElement('div');
        item.className = 'fg6-photo';
        item.tabIndex = 0;
        item.setAttribute('role', 'button');
        item.setAttribute('aria-label', '照片 ' + (number + 1) + '，轻触看大图');
        var face = document.createElement('div');
        face.className = 'fg6-face';
        var back = document.createElement('div');
        back.className = 'fg6-back';
        var img = document.createElement('img');
        img.alt = '';
        img.decoding = 'async';
        img.draggable = false;
        var backImg = img.cloneNode();
        face.appendChild(img);
        back.appendChild(backImg);
        item.appendChild(face);
        item.appendChild(back);
        var entry = { el: item, address: address };
        img.addEventListener('load', function () {
          // The far side shows the same picture, asked for only once it is known to work.
          backImg.src = address;
          item.classList.add('is-loaded');
        });
        img.addEventListener('error', function () {
          drop(entry);
        });
        img.src = address;
        items.push(entry);
        ring.appendChild(item);
      });

      function drop(entry) {
        var at = items.indexOf(entry);
        if (at < 0) return;
        items.splice(at, 1);
        entry.el.remove();
        place();
      }

      function addresses() {
        return items.map(function (item) {
          return item.address;
        });
      }

      function place() {
        var n = items.length;
        stage.classList.toggle('is-empty', n === 0);
        if (!n) {
          layout = null;
          return;
        }
        var width = stage.clientWidth;
        var height = stage.clientHeight;
        layout = plan(n, width, height);
        stage.style.perspective = Math.round(layout.P) + 'px';
        var frame = layout.w * FRAME;
        var rowGap = layout.h * ROW_GAP;
        var perRow = layout.perRow;
        items.forEach(function (item, i) {
          var row = Math.floor(i / perRow);
          // The last row may hold fewer; it is spaced evenly on its own.
          var inRow = Math.min(perRow, n - row * perRow);
          var column = i - row * perRow;
          var a = (column * 360) / inRow + (row * 180) / perRow;
          var y = (row - (layout.rows - 1) / 2) * (layout.h + rowGap);
          var s = item.el.style;
          s.width = layout.w + 'px';
          s.height = layout.h + 'px';
          s.left = -layout.w / 2 + 'px';
          s.top = -layout.h / 2 + 'px';
          s.setProperty('--frame', frame.toFixed(1) + 'px');
          s.transform =
            'translateY(' + y.toFixed(1) + 'px) rotateY(' + a.toFixed(2) + 'deg) translateZ(' + layout.R.toFixed(1) + 'px)';
        });
        if (floor) {
          var bottom = (layout.rows * layout.h + (layout.rows - 1) * rowGap) / 2;
          stage.style.setProperty('--floor', Math.round(bottom + 18) + 'px');
          stage.style.setProperty('--floor-w', Math.round(Math.min(width * 0.9, layout.R * 2 + layout.w)) + 'px');
        }
        turnTo();
      }

      function turnTo() {
        if (!layout) return;
        var shown = angle;
        // One photo alone sways gently instead of turning its back.
        if (items.length === 1) shown = Math.sin(angle / 20) * 18;
        ring.style.transform =
          'translateZ(' + (-layout.R).toFixed(1) + 'px) rotateX(' + tilt.toFixed(2) + 'deg) rotateY(' + shown.toFixed(2) + 'deg)';
      }

      function step(seconds, dt) {
        if (!layout || drag) return;
        if (!paused) angle -= speed * dt;
        if (spin) {
          angle += spin * dt;
          spin *= Math.exp(-dt * 2.2);
          if (Math.abs(spin) < 0.5) spin = 0;
        }
        if (!paused || spin) turnTo();
      }

      // Dragging: the photo under the finger follows it round the ring.
      function degreesPerPixel() {
        return layout ? 180 / (Math.PI * Math.max(layout.R, 160)) : 0.3;
      }
      on(stage, 'pointerdown', function (event) {
        if (!layout || (event.pointerType === 'mouse' && event.button !== 0)) return;
        var photo = event.target.closest ? event.target.closest('.fg6-photo') : null;
        drag = {
          id: event.pointerId,
          x: event.clientX,
          y: event.clientY,
          angle: angle,
          tilt: tilt,
          t: Date.now(),
          moved: false,
          photo: photo,
          lastX: event.clientX,
          lastT: performance.now(),
          velocity: 0,
        };
        spin = 0;
      });
      on(stage, 'pointermove', function (event) {
        if (!drag || event.pointerId !== drag.id) return;
        var dx = event.clientX - drag.x;
        var dy = event.clientY - drag.y;
        if (!drag.moved && dx * dx + dy * dy > 49) {
          drag.moved = true;
          stage.classList.add('is-dragging');
          try {
            stage.setPointerCapture(event.pointerId);
          } catch (e) {
            /* the pointer is already gone */
          }
        }
        if (!drag.moved) return;
        var now = performance.now();
        var dtMove = Math.max(1, now - drag.lastT) / 1000;
        var instant = ((event.clientX - drag.lastX) * degreesPerPixel()) / dtMove;
        drag.velocity = drag.velocity * 0.6 + instant * 0.4;
        drag.lastX = event.clientX;
        drag.lastT = now;
        angle = drag.angle + dx * degreesPerPixel();
        if (event.pointerType === 'mouse') tilt = Math.max(-24, Math.min(8, drag.tilt - dy * 0.08));
        turnTo();
      });
      function release(event, cancelled) {
        if (!drag || event.pointerId !== drag.id) return;
        var d = drag;
        drag = null;
        stage.classList.remove('is-dragging');
        if (d.moved) {
          // A flick keeps turning a while (not when less motion was asked for).
          var idle = performance.now() - d.lastT;
          spin = calm || idle > 120 ? 0 : Math.max(-400, Math.min(400, d.velocity));
          return;
        }
        // A short tap, not a long press (that one shows the page's words instead).
        if (!cancelled && d.photo && Date.now() - d.t < 500 && d.photo.classList.contains('is-loaded')) {
          open(d.photo);
        }
      }
      on(stage, 'pointerup', function (event) {
        release(event, false);
      });
      on(stage, 'pointercancel', function (event) {
        release(event, true);
      });
      on(stage, 'keydown', function (event) {
        if (!layout) return;
        if (event.key === 'ArrowLeft' || event.key === 'ArrowRight') {
          angle += (event.key === 'ArrowLeft' ? 1 : -1) * (360 / layout.perRow);
          turnTo();
          event.preventDefault();
        } else if ((event.key === 'Enter' || event.key === ' ') && event.target.classList.contains('fg6-photo')) {
          if (event.target.classList.contains('is-loaded')) open(event.target);
          event.preventDefault();
        }
      });
      on(stage, 'dragstart', function (event) {
        event.preventDefault();
      });

      function open(el) {
        var at = -1;
        items.forEach(function (item, i) {
          if (item.el === el) at = i;
        });
        if (at >= 0 && options.onOpen) options.onOpen(at, addresses());
      }

      place();
      // Photos glide to new places once the first layout stands.
      window.requestAnimationFrame(function () {
        window.requestAnimationFrame(function () {
          stage.classList.add('is-live');
        });
      });
      var stopResize = ZR.onResize(place);
      stopLoop = ZR.loop(step);

      return {
        pause: function (on) {
          paused = !!on;
        },
        count: function () {
          return items.length;
        },
        stop: function () {
          stopLoop();
          stopResize();
          removers.forEach(function (remove) {
            remove();
          });
          removers = [];
          items.forEach(function (item) {
            item.el.remove();
          });
          items = [];
        },
      };
    },
  };
})();
