/* Text that types itself, character by character, with a blinking caret.
 *
 *   ZR.typewriter.start(target, { html: '...' | text: '...', speed: 14, delay: 0,
 *                                 caret: true, onDone: fn })
 *
 * `html` is typed as HTML: tags and entities are never cut in half, an element appears when
 * the typing reaches it and a <br> counts as one character (a short pause). `text` is plain
 * text (line breaks kept where the target's CSS keeps them, e.g. white-space: pre-line).
 * `speed` is characters per second; the pace follows real time, so a throttled tab stays
 * right. Under prefers-reduced-motion the whole text is there at once.
 * Returns { finish(), stop() }: finish shows everything now, stop freezes where it is.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  var STYLE_ID = 'zr-typewriter-style';
  var CSS =
    '.zr-caret{display:inline-block;width:.08em;min-width:2px;height:1em;margin-left:.06em;' +
    'vertical-align:-.12em;background:currentColor;animation:zr-caret 1s steps(1) infinite}' +
    '@keyframes zr-caret{50%{opacity:0}}' +
    '@media (prefers-reduced-motion: reduce){.zr-caret{animation:none}}';

  function addStyle() {
    if (document.getElementById(STYLE_ID)) return;
    var style = document.createElement('style');
    style.id = STYLE_ID;
    style.textContent = CSS;
    document.head.appendChild(style);
  }

  // Walks the source tree once, depth first, handing out one character (or element) at a time
  // and building the copy in the target as it goes.
  function Typer(source, target) {
    this.stack = [{ node: source, index: 0, out: target }];
    this.text = null; // { src, out, at }
  }
  Typer.prototype.step = function () {
    for (;;) {
      if (this.text) {
        var t = this.text;
        if (t.at < t.src.length) {
          // Keep a surrogate pair together.
          var code = t.src.charCodeAt(t.at);
          var n = code >= 0xd800 && code <= 0xdbff ? 2 : 1;
          t.out.appendData(t.src.substr(t.at, n));
          t.at += n;
          return true;
        }
        this.text = null;
      }
      var top = this.stack[this.stack.length - 1];
      if (!top) return false;
      if (top.index >= top.node.childNodes.length) {
        this.stack.pop();
        continue;
      }
      var child = top.node.childNodes[top.index++];
      if (child.nodeType === 3) {
        var out = document.createTextNode('');
        top.out.appendChild(out);
        this.text = { src: child.data, out: out, at: 0 };
        continue;
      }
      if (child.nodeType !== 1) continue;
      var copy = child.cloneNode(false);
      top.out.appendChild(copy);
      this.stack.push({ node: child, index: 0, out: copy });
      if (child.nodeName === 'BR' || child.nodeName === 'IMG') return true;
    }
  };
  Typer.prototype.current = function () {
    var top = this.stack[this.stack.length - 1];
    return top ? top.out : null;
  };

  ZR.typewriter = {
    start: function (target, options) {
      options = options || {};
      var source = document.createElement('template');
      if (options.html !== undefined) {
        source.innerHTML = options.html;
      } else {
        source.content.appendChild(document.createTextNode(options.text || ''));
      }
      var speed = options.speed || 14;
      var delay = options.delay || 0;
      target.textContent = '';
      var typer = new Typer(source.content, target);
      var caret = null;
      if (options.caret !== false) {
        addStyle();
        caret = document.createElement('span');
        caret.className = 'zr-caret';
        caret.setAttribute('aria-hidden', 'true');
      }
      var typed = 0;
      var done = false;
      var stopLoop = null;

      function placeCaret() {
        if (!caret) return;
        var parent = typer.current() || target;
        if (parent.nodeName === 'BR' || parent.nodeName === 'IMG') parent = parent.parentNode || target;
        parent.appendChild(caret);
      }
      function finish() {
        while (typer.step()) {}
        complete();
      }
      function complete() {
        if (done) return;
        done = true;
        if (stopLoop) stopLoop();
        if (caret) target.appendChild(caret);
        if (options.onDone) options.onDone();
      }

      if (ZR.reducedMotion()) {
        finish();
      } else {
        stopLoop = ZR.loop(function (seconds) {
          var due = Math.floor(Math.max(0, seconds - delay) * speed);
          var more = false;
          while (typed < due) {
            more = typer.step();
            if (!more) break;
            typed++;
          }
          if (typed < due && !more) {
            complete();
            return;
          }
          placeCaret();
        });
      }
      return {
        finish: finish,
        stop: function () {
          if (stopLoop) stopLoop();
        },
      };
    },
  };
})();
