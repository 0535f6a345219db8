/* Light or dark: which text colours read well on the reader's chosen background colour.
 *
 *   ZR.tone.apply(element)   element carries the colour in its style attribute
 *                            ("background-color:..."); sets element.dataset.tone to "light"
 *                            or "dark" and returns it
 *
 * A colour typed without its "#" ("FFCBB3") is put right, here and in the theme-color meta,
 * so that it is not silently dropped by the browser.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  function parse(text) {
    var m = /rgba?\(\s*([\d.]+)[\s,]+([\d.]+)[\s,]+([\d.]+)(?:[\s,/]+([\d.]+%?))?/.exec(text || '');
    if (!m) return null;
    var alpha = m[4] === undefined ? 1 : parseFloat(m[4]) / (/%$/.test(m[4]) ? 100 : 1);
    return { r: +m[1], g: +m[2], b: +m[3], a: alpha };
  }

  // Relative luminance, as for contrast ratios.
  function luminance(c) {
    function channel(v) {
      v /= 255;
      return v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4);
    }
    return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
  }

  function repairHash(element) {
    var declared = /background-color\s*:\s*([0-9a-f]{3}|[0-9a-f]{6}|[0-9a-f]{8})\s*;?\s*$/i.exec(
      element.getAttribute('style') || '');
    if (!declared) return;
    var colour = '#' + declared[1];
    element.style.backgroundColor = colour;
    var meta = document.querySelector('meta[name="theme-color"]');
    if (meta && /^\s*[0-9a-f]+\s*$/i.test(meta.getAttribute('content') || '')) {
      meta.setAttribute('content', colour);
    }
  }

  ZR.tone = {
    apply: function (element) {
      repairHash(element);
      var c = parse(window.getComputedStyle(element).backgroundColor);
      // Transparent or unreadable: the style sheet's own light colour shows through.
      var tone = c && c.a > 0.2 && luminance(c) < 0.3 ? 'dark' : 'light';
      element.dataset.tone = tone;
      return tone;
    },
  };
})();
