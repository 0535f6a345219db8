/* Background music that works with today's browsers: they refuse sound until the reader has
 * touched the page.
 *
 *   ZR.music.start({ src: address, parent: element (default body) })
 *
 * Tries to play at once; when the browser refuses, shows a "点击开启音乐" prompt and starts on
 * the first tap, click or key anywhere (and on the chat app's bridge-ready event). A spinning
 * note button in the top right corner pauses and resumes; its look follows the audio element's
 * own play and pause events. An empty or broken address shows nothing at all.
 * Returns { audio, stop() } (stop removes everything it added), or null without an address.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  var STYLE_ID = 'zr-music-style';
  var CSS =
    '.zr-music-btn{position:fixed;z-index:9000;top:calc(12px + env(safe-area-inset-top));' +
    'right:calc(12px + env(safe-area-inset-right));width:44px;height:44px;border-radius:50%;' +
    'border:0;padding:0;cursor:pointer;background:rgba(255,255,255,.82);color:#e8457a;' +
    'box-shadow:0 2px 10px rgba(0,0,0,.25);display:flex;align-items:center;justify-content:center;' +
    '-webkit-tap-highlight-color:transparent}' +
    '.zr-music-btn svg{width:24px;height:24px;display:block}' +
    '.zr-music-btn.zr-playing svg{animation:zr-music-spin 3s linear infinite}' +
    '.zr-music-btn:not(.zr-playing)::after{content:"";position:absolute;width:30px;height:2px;' +
    'background:currentColor;transform:rotate(-45deg);border-radius:1px}' +
    '@keyframes zr-music-spin{to{transform:rotate(360deg)}}' +
    '.zr-music-prompt{position:fixed;z-index:9000;left:50%;bottom:calc(28px + env(safe-area-inset-bottom));' +
    'transform:translateX(-50%);padding:10px 20px;border-radius:999px;font-size:16px;line-height:1.2;' +
    'color:#fff;background:rgba(232,69,122,.88);box-shadow:0 4px 16px rgba(0,0,0,.25);' +
    'font-family:"PingFang SC","Hiragino Sans GB","Microsoft YaHei","Noto Sans CJK SC",sans-serif;' +
    'white-space:nowrap;pointer-events:none;animation:zr-music-breathe 2.4s ease-in-out infinite}' +
    '@keyframes zr-music-breathe{0%,100%{opacity:.95}50%{opacity:.7}}' +
    '@media (prefers-reduced-motion: reduce){.zr-music-btn.zr-playing svg,.zr-music-prompt{animation:none}}';

  var NOTE =
    '<svg viewBox="0 0 24 24" aria-hidden="true"><path fill="currentColor" d="M9 17.5a3 3 0 1 1-2-2.83V5.6' +
    'l11-2.6v11.5a3 3 0 1 1-2-2.83V7.1l-7 1.65z"/></svg>';

  function addStyle() {
    if (document.getElementById(STYLE_ID)) return;
    var style = document.createElement('style');
    style.id = STYLE_ID;
    style.textContent = CSS;
    document.head.appendChild(style);
  }

  function usable(address) {
    return /^(https?:)?\/\//i.test(address) || /^[^:]+\.(mp3|m4a|aac|ogg|oga|wav|flac)(\?.*)?$/i.test(address);
  }

  ZR.music = {
    start: function (options) {
      var src = ((options && options.src) || '').trim();
      if (!src || !usable(src)) return null;
      var parent = (options && options.parent) || document.body;
      addStyle();

      var audio = document.createElement('audio');
      audio.loop = true;
      audio.preload = 'none';
      audio.src = src;
      audio.setAttribute('playsinline', '');
      parent.appendChild(audio);

      var button = document.createElement('button');
      button.type = 'button';
      button.className = 'zr-music-btn';
      button.setAttribute('aria-label', '音乐');
      button.innerHTML = NOTE;
      parent.appendChild(button);

      var prompt = null;
      var wanted = true; // the reader has not paused it
      var removers = [];

      function on(target, type, fn, opts) {
        target.addEventListener(type, fn, opts);
        removers.push(function () {
          target.removeEventListener(type, fn, opts);
        });
      }
      function hidePrompt() {
        if (prompt) {
          prompt.remove();
          prompt = null;
        }
      }
      function showPrompt() {
        if (prompt || !wanted) return;
        prompt = document.createElement('div');
        prompt.className = 'zr-music-prompt';
        prompt.textContent = '点击开启音乐';
        parent.appendChild(prompt);
      }
      function tryPlay() {
        var result;
        try {
          result = audio.play();
        } catch (e) {
          showPrompt();
          return;
        }
        if (result && result.catch) {
          result.catch(function (err) {
            if (err && err.name === 'NotAllowedError') showPrompt();
          });
        }
      }
      function firstTouch(event) {
        if (event.target === button || button.contains(event.target)) return;
        if (wanted && audio.paused) tryPlay();
      }

      on(audio, 'play', function () {
        button.classList.add('zr-playing');
        hidePrompt();
      });
      on(audio, 'pause', function () {
        button.classList.remove('zr-playing');
      });
      on(audio, 'error', function () {
        // A dead address: no button, no prompt, nothing else changes.
        hidePrompt();
        button.style.display = 'none';
        cleanup(false);
      });
      on(button, 'click', function (event) {
        event.stopPropagation();
        if (audio.paused) {
          wanted = true;
          tryPlay();
        } else {
          wanted = false;
          audio.pause();
        }
      });
      ['pointerdown', 'touchend', 'click', 'keydown'].forEach(function (type) {
        on(document, type, firstTouch, { capture: true, passive: true });
      });
      on(document, 'WeixinJSBridgeReady', tryPlay);

      function cleanup(all) {
        removers.forEach(function (remove) {
          remove();
        });
        removers = [];
        if (all) {
          audio.pause();
          audio.remove();
          button.remove();
          hidePrompt();
        }
      }

      tryPlay();
      return {
        audio: audio,
        stop: function () {
          cleanup(true);
        },
      };
    },
  };
})();
