/* Keeps the big text readable whatever colours the writer picked.
 *
 *   ZR.inkGuard.start(textElement, { root: element that gets the classes })
 *
 * Compares the text's colour with the background behind it (the first opaque background up
 * the tree, white when there is none). When the two are too alike, the root gets the class
 * "ink-faint" and "ink-on-light" or "ink-on-dark", and the style sheet gives the text an
 * outline of the other kind. Colours the browser reports in a form it cannot read are left
 * alone. Returns the contrast ratio found, or 0.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  function parse(value) {
    var m = /^rgba?\(\s*([\d.]+)[,\s]+([\d.]+)[,\s]+([\d.]+)(?:\s*[,/]\s*([\d.]+%?))?\s*\)$/.exec(value || '');
    if (!m) return null;
    var alpha = m[4] === undefined ? 1 : m[4].slice(-1) === '%' ? parseFloat(m[4]) / 100 : parseFloat(m[4]);
    return { r: +m[1], g: +m[2], b: +m[3], a: alpha };
  }

  function luminance(c) {
    function channel(v) {
      v /= 255;
      return v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4);
    }
    return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
  }

  function backgroundOf(el) {
    for (var node = el; node && node.nodeType === 1; node = node.parentNode) {
      var c = parse(getComputedStyle(node).backgroundColor);
      if (c && c.a > 0.5) return c;
    }
    return { r: 255, g: 255, b: 255, a: 1 };
  }

  ZR.inkGuard = {
    start: function (text, options) {
      if (!text) return 0;
      var root = (options && options.root) || document.body;
      var ink = parse(getComputedStyle(text).color);
      if (!ink) return 0;
      var back = backgroundOf(text.parentNode);
      var a = luminance(ink);
      var b = luminance(back);
      var ratio = (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
      var faint = ratio < 1.6 || ink.a < 0.4;
      root.classList.toggle('ink-faint', faint);
      root.classList.toggle('ink-on-light', faint && b > 0.35);
      root.classList.toggle('ink-on-dark', faint && b <= 0.35);
      return ratio;
    },
  };
})();
