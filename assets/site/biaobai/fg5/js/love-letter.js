/* The letter of page style 5: the sender's lines typed one after the other onto ruled paper,
 * signed with the sender's name.
 *
 *   ZR.loveLetter.start({ letter, body, ghost, lines: [entry ids], sign: entry id,
 *                         speed: 10, delay: 0.8, onDone: fn })
 *
 * Each line is an entry read as HTML (what the sender typed shows as it would in the page);
 * empty lines are left out and a letter without any line or name is hidden. `ghost` receives
 * the whole letter invisibly, so the paper has its final size from the start and nothing
 * below it jumps while the text is typed (not for very long letters, which simply grow).
 * A tap on the letter shows the rest at once. Typing is done by ZR.typewriter.
 * Returns the typewriter's { finish(), stop() }, or null when the letter is hidden.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  var GHOST_LIMIT = 800; // characters; a longer letter grows as it is typed

  function blank(html) {
    return html.replace(/<br\s*\/?>|&nbsp;|\s/gi, '') === '';
  }

  ZR.loveLetter = {
    start: function (o) {
      var pieces = [];
      (o.lines || []).forEach(function (id) {
        var html = ZR.entryHtml(id);
        if (!blank(html)) pieces.push('<p class="letter-line">' + html + '</p>');
      });
      var sign = o.sign ? ZR.entryHtml(o.sign) : '';
      if (!blank(sign)) {
        pieces.push('<p class="letter-sign"><span class="letter-dash">—— </span>' + sign + '</p>');
      }
      if (!pieces.length) {
        o.letter.hidden = true;
        return null;
      }
      var html = pieces.join('');
      var probe = document.createElement('template');
      probe.innerHTML = html;
      if (o.ghost && probe.content.textContent.length <= GHOST_LIMIT) {
        o.ghost.innerHTML = html;
        o.letter.classList.add('letter-sized');
      }
      var typing = ZR.typewriter.start(o.body, {
        html: html,
        speed: o.speed || 10,
        delay: o.delay === undefined ? 0.8 : o.delay,
        onDone: function () {
          // The caret goes on blinking after the last word, not on a line of its own.
          var caret = o.body.querySelector('.zr-caret');
          var paragraphs = o.body.querySelectorAll('.letter-line, .letter-sign');
          if (caret && paragraphs.length) paragraphs[paragraphs.length - 1].appendChild(caret);
          o.letter.classList.add('letter-done');
          if (o.onDone) o.onDone();
        },
      });
      o.letter.addEventListener('click', function () {
        typing.finish();
      });
      return typing;
    },
  };
})();
