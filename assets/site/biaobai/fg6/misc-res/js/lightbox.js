/* One photo seen large over a dimmed page, with the ones before and after a swipe away.
 *
 *   ZR.lightbox.open(addresses, index, { onClose })
 *
 * Swipe left or right (or the arrow buttons and keys) for the next and previous photo; a tap
 * beside the photo, the close button or Escape closes it. Focus goes back where it was.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  var ARROW_LEFT = '<svg viewBox="0 0 24 24" aria-hidden="true"><path fill="none" stroke="currentColor" stroke-width="2.6" stroke-linecap="round" stroke-linejoin="round" d="M15 5l-7 7 7 7"/></svg>';
  var ARROW_RIGHT = '<svg viewBox="0 0 24 24" aria-hidden="true"><path fill="none" stroke="currentColor" stroke-width="2.6" stroke-linecap="round" stroke-linejoin="round" d="M9 5l7 7-7 7"/></svg>';
  var CROSS = '<svg viewBox="0 0 24 24" aria-hidden="true"><path fill="none" stroke="currentColor" stroke-width="2.6" stroke-linecap="round" d="M6 6l12 12M18 6L6 18"/></svg>';

  var box = null; // the overlay, made once
  var ui = {};
  var state = { list: [], index: 0, onClose: null, returnFocus: null, swipe: null };

  function button(className, label, icon) {
    var b = document.createElement('button');
    b.type = 'button';
    b.className = className;
    b.setAttribute('aria-label', label);
    b.innerHTML = icon;
    return b;
  }

  function build() {
    box = document.createElement('div');
    box.className = 'fg6-lb';
    box.hidden = true;
    box.setAttribute('role', 'dialog');
    box.setAttribute('aria-modal', 'true');
    box.setAttribute('aria-label', '照片');
    ui.frame = document.createElement('figure');
    ui.frame.className = 'fg6-lb-frame';
    ui.img = document.createElement('img');
    ui.img.alt = '';
    ui.img.decoding = 'async';
    ui.frame.appendChild(ui.img);
    ui.close = button('fg6-lb-close', '关闭', CROSS);
    ui.prev = button('fg6-lb-prev', '上一张', ARROW_LEFT);
    ui.next = button('fg6-lb-next', '下一张', ARROW_RIGHT);
    ui.count = document.createElement('span');
    ui.count.className = 'fg6-lb-count';
    var bar = document.createElement('div');
    bar.className = 'fg6-lb-bar';
    bar.appendChild(ui.prev);
    bar.appendChild(ui.count);
    bar.appendChild(ui.next);
    box.appendChild(ui.frame);
    box.appendChild(bar);
    box.appendChild(ui.close);
    document.body.appendChild(box);

    ui.close.addEventListener('click', close);
    ui.prev.addEventListener('click', function () { turn(-1); });
    ui.next.addEventListener('click', function () { turn(1); });
    box.addEventListener('pointerdown', function (event) {
      state.swipe = { x: event.clientX, y: event.clientY, t: Date.now(), onBackdrop: event.target === box };
    });
    box.addEventListener('pointerup', function (event) {
      var s = state.swipe;
      state.swipe = null;
      if (!s) return;
      var dx = event.clientX - s.x;
      var dy = event.clientY - s.y;
      if (Math.abs(dx) > 40 && Math.abs(dx) > Math.abs(dy)) {
        turn(dx < 0 ? 1 : -1);
      } else if (s.onBackdrop && event.target === box && Math.abs(dx) < 10 && Math.abs(dy) < 10) {
        close();
      }
    });
    box.addEventListener('pointercancel', function () { state.swipe = null; });
    // The page's own right-click words stay out of the way of the large photo.
    box.addEventListener('contextmenu', function (event) { event.preventDefault(); });
    document.addEventListener('keydown', function (event) {
      if (box.hidden) return;
      if (event.key === 'Escape') close();
      else if (event.key === 'ArrowLeft') turn(-1);
      else if (event.key === 'ArrowRight') turn(1);
    });
  }

  function show(index) {
    var n = state.list.length;
    state.index = ((index % n) + n) % n;
    ui.img.src = state.list[state.index];
    ui.count.textContent = state.index + 1 + ' / ' + n;
    ui.prev.hidden = ui.next.hidden = n < 2;
  }

  function turn(step) {
    if (state.list.length < 2) return;
    if (ZR.reducedMotion && ZR.reducedMotion()) {
      show(state.index + step);
      return;
    }
    ui.frame.classList.add('is-turning');
    setTimeout(function () {
      show(state.index + step);
      ui.frame.classList.remove('is-turning');
    }, 180);
  }

  function close() {
    if (!box || box.hidden) return;
    box.classList.remove('is-open');
    var done = function () {
      box.hidden = true;
      ui.img.removeAttribute('src');
    };
    if (ZR.reducedMotion && ZR.reducedMotion()) done();
    else setTimeout(done, 300);
    if (state.returnFocus && state.returnFocus.focus) state.returnFocus.focus({ preventScroll: true });
    var onClose = state.onClose;
    state.onClose = null;
    if (onClose) onClose();
  }

  ZR.lightbox = {
    open: function (list, index, options) {
      if (!list || !list.length) return;
      if (!box) build();
      state.list = list.slice();
      state.onClose = (options && options.onClose) || null;
      state.returnFocus = document.activeElement;
      show(index || 0);
      box.hidden = false;
      // One frame later, so that the fade and zoom in are seen.
      window.requestAnimationFrame(function () {
        window.requestAnimationFrame(function () {
          box.classList.add('is-open');
        });
      });
      ui.close.focus({ preventScroll: true });
    },
    close: close,
  };
})();
