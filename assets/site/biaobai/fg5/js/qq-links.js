/* The "add me on QQ" buttons: they carry the sender's QQ number in their addresses.
 *
 *   ZR.qqLinks.start(container, { number: element })
 *
 * Reads the number from the uin= of the container's links. Without a usable QQ number (empty,
 * or not a number at all) the whole container is hidden, since the links would lead nowhere;
 * otherwise `number`, when given, shows it. Returns the number, or '' when hidden.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  function uinOf(link) {
    var match = /[?&]uin=([^&#]*)/.exec(link.getAttribute('href') || '');
    if (!match) return '';
    try {
      return decodeURIComponent(match[1]).trim();
    } catch (e) {
      return '';
    }
  }

  ZR.qqLinks = {
    start: function (container, options) {
      var links = Array.prototype.slice.call(container.querySelectorAll('a[href]'));
      var number = links.length ? uinOf(links[0]) : '';
      var usable = /^[1-9][0-9]{4,11}$/.test(number) &&
        links.every(function (link) {
          return uinOf(link) === number;
        });
      if (!usable) {
        container.hidden = true;
        return '';
      }
      if (options && options.number) options.number.textContent = number;
      return number;
    },
  };
})();
