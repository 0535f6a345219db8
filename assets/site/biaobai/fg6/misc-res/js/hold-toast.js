/* A few words shown in a pretty toast when the reader right-clicks, or holds a finger on the
 * page (Android turns a long press into the same contextmenu event; other touch screens get a
 * timer of our own). The browser's own menu is kept away while the words are shown.
 *
 *   ZR.holdToast.start(toast, { holdMs, showMs })   returns { show(), stop() }, or null
 *
 * `toast` already holds the words (they are part of the page); an empty one does nothing, and
 * then the browser's menu works as usual.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  ZR.holdToast = {
    start: function (toast, options) {
      if (!toast || !toast.textContent.trim()) return null;
      var holdMs = (options && options.holdMs) || 550;
      var showMs = (options && options.showMs) || 2800;
      var hideTimer = 0;
      var holdTimer = 0;
      var shownAt = 0;
      var start = null;
      var removers = [];

      function on(target, type, fn, opts) {
        target.addEventListener(type, fn, opts);
        removers.push(function () {
          target.removeEventListener(type, fn, opts);
        });
      }

      function show() {
        var now = Date.now();
        // A long press may bring both our timer and the browser's contextmenu: show once.
        if (now - shownAt < 700 && toast.classList.contains('is-shown')) return;
        shownAt = now;
        toast.classList.add('is-shown');
        clearTimeout(hideTimer);
        // Longer words stay a little longer.
        var stay = Math.min(showMs + toast.textContent.length * 60, 8000);
        hideTimer = setTimeout(hide, stay);
      }
      function hide() {
        toast.classList.remove('is-shown');
      }
      function cancelHold() {
        clearTimeout(holdTimer);
        holdTimer = 0;
        start = null;
      }

      on(document, 'contextmenu', function (event) {
        event.preventDefault();
        show();
      });
      on(document, 'pointerdown', function (event) {
        if (event.pointerType === 'mouse') {
          // Any click elsewhere puts the toast away.
          if (event.button === 0 && !toast.contains(event.target)) hide();
          return;
        }
        cancelHold();
        start = { x: event.clientX, y: event.clientY, id: event.pointerId };
        holdTimer = setTimeout(function () {
          holdTimer = 0;
          show();
        }, holdMs);
      }, { passive: true });
      on(document, 'pointermove', function (event) {
        if (!start || event.pointerId !== start.id) return;
        var dx = event.clientX - start.x;
        var dy = event.clientY - start.y;
        if (dx * dx + dy * dy > 100) cancelHold();
      }, { passive: true });
      on(document, 'pointerup', function () {
        // A short tap puts a toast that has been read for a moment away.
        if (holdTimer && toast.classList.contains('is-shown') && Date.now() - shownAt > 400) hide();
        cancelHold();
      }, { passive: true });
      on(document, 'pointercancel', cancelHold, { passive: true });
      on(document, 'keydown', function (event) {
        if (event.key === 'Escape') hide();
      });
      on(toast, 'click', hide);

      return {
        show: show,
        stop: function () {
          removers.forEach(function (remove) {
            remove();
          });
          removers = [];
          cancelHold();
          clearTimeout(hideTimer);
          hide();
        },
      };
    },
  };
})();
