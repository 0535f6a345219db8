/* The few things every effect of the page styles needs, written once.
 *
 *   ZR.entry(id)          the text of an entry element of #zr-entries (textContent)
 *   ZR.entryHtml(id)      the same as HTML, for entries meant as HTML (lines with <br>)
 *   ZR.ready(fn)          runs fn once the document is parsed
 *   ZR.reducedMotion()    true when the reader asked for less motion
 *   ZR.loop(step)         calls step(seconds, dt) on every frame while the page is visible;
 *                         the time is real time, so a throttled tab keeps its pace; returns
 *                         a stop function
 *   ZR.fitCanvas(canvas)  sizes a canvas to its box at the screen's density (at most 2) and
 *                         returns {ctx, width, height} in CSS pixels; call again on resize
 *   ZR.onResize(fn)       fn on window resize, at most once a frame; returns a remover
 *
 * Pages may be served sandboxed with an opaque origin: nothing here touches cookies or
 * storage.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  function source(id) {
    return document.getElementById(id);
  }

  ZR.entry = function (id) {
    var el = source(id);
    return el ? el.textContent : '';
  };

  ZR.entryHtml = function (id) {
    var el = source(id);
    return el ? el.innerHTML : '';
  };

  ZR.ready = function (fn) {
    if (document.readyState === 'loading') {
      document.addEventListener('DOMContentLoaded', fn, { once: true });
    } else {
      fn();
    }
  };

  var motionQuery = window.matchMedia ? window.matchMedia('(prefers-reduced-motion: reduce)') : null;
  ZR.reducedMotion = function () {
    return !!(motionQuery && motionQuery.matches);
  };

  ZR.loop = function (step) {
    var frame = 0;
    var last = 0;
    var elapsed = 0;
    var running = true;
    function tick(now) {
      if (!running) return;
      // A frame after a long pause (hidden tab) does not jump the animation ahead.
      var dt = last ? Math.min((now - last) / 1000, 0.1) : 0;
      last = now;
      elapsed += dt;
      step(elapsed, dt);
      frame = window.requestAnimationFrame(tick);
    }
    function visibility() {
      if (document.hidden) {
        window.cancelAnimationFrame(frame);
        frame = 0;
      } else if (running && !frame) {
        last = 0;
        frame = window.requestAnimationFrame(tick);
      }
    }
    document.addEventListener('visibilitychange', visibility);
    frame = window.requestAnimationFrame(tick);
    return function stop() {
      running = false;
      window.cancelAnimationFrame(frame);
      document.removeEventListener('visibilitychange', visibility);
    };
  };

  ZR.fitCanvas = function (canvas) {
    var ratio = Math.min(window.devicePixelRatio || 1, 2);
    var box = canvas.getBoundingClientRect();
    var width = Math.max(1, Math.round(box.width));
    var height = Math.max(1, Math.round(box.height));
    canvas.width = Math.round(width * ratio);
    canvas.height = Math.round(height * ratio);
    var ctx = canvas.getContext('2d');
    ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
    return { ctx: ctx, width: width, height: height, ratio: ratio };
  };

  ZR.onResize = function (fn) {
    var pending = 0;
    function handler() {
      if (pending) return;
      pending = window.requestAnimationFrame(function () {
        pending = 0;
        fn();
      });
    }
    window.addEventListener('resize', handler);
    window.addEventListener('orientationchange', handler);
    return function () {
      window.removeEventListener('resize', handler);
      window.removeEventListener('orientationchange', handler);
    };
  };
})();
