/* How long two people have been together, counted from a date and shown to the second.
 *
 *   ZR.togetherClock.start(element, { year: '2013', month: '5', day: '20' })
 *
 * The month is counted from 0, as a JavaScript Date counts it (5 is June): the editor asks
 * the sender to enter it one lower. The count is worked out from the current time at every
 * tick, so it stays right in a tab the browser throttled. The element receives
 *   <span class="zr-clock-days">N</span><span class="zr-clock-unit">天</span> … 小时 … 分 … 秒
 * A date that cannot be read hides the element. Returns { stop() }, or null for a bad date.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  var UNITS = [
    ['days', '天'],
    ['hours', '小时'],
    ['minutes', '分'],
    ['seconds', '秒'],
  ];

  function number(value) {
    var text = String(value === undefined ? '' : value).trim();
    return /^-?\d{1,6}$/.test(text) ? parseInt(text, 10) : NaN;
  }

  ZR.togetherClock = {
    // The start date, or null when the entries do not make one.
    since: function (year, month, day) {
      var y = number(year);
      var m = number(month);
      var d = number(day);
      if (isNaN(y) || isNaN(m) || isNaN(d)) return null;
      var date = new Date(y, m, d);
      date.setFullYear(y);
      return isNaN(date.getTime()) ? null : date;
    },
    // Whole days, hours, minutes and seconds from `since` to `now` (0 when `now` is earlier).
    parts: function (since, now) {
      var total = Math.max(0, Math.floor((now.getTime() - since.getTime()) / 1000));
      return {
        days: Math.floor(total / 86400),
        hours: Math.floor((total % 86400) / 3600),
        minutes: Math.floor((total % 3600) / 60),
        seconds: total % 60,
      };
    },
    start: function (element, options) {
      var since = this.since(options.year, options.month, options.day);
      if (!since) {
        element.hidden = true;
        return null;
      }
      var spans = {};
      element.textContent = '';
      UNITS.forEach(function (unit) {
        var value = document.createElement('span');
        value.className = 'zr-clock-' + unit[0];
        var label = document.createElement('span');
        label.className = 'zr-clock-unit';
        label.textContent = unit[1];
        element.appendChild(value);
        element.appendChild(label);
        spans[unit[0]] = value;
      });
      var self = this;
      var timer = 0;
      function tick() {
        var parts = self.parts(since, new Date());
        UNITS.forEach(function (unit) {
          var text = String(parts[unit[0]]);
          if (unit[0] !== 'days' && text.length < 2) text = '0' + text;
          if (spans[unit[0]].textContent !== text) spans[unit[0]].textContent = text;
        });
        timer = window.setTimeout(tick, 1000 - (Date.now() % 1000) + 5);
      }
      tick();
      return {
        stop: function () {
          window.clearTimeout(timer);
        },
      };
    },
  };
})();
