/* A video the reader can watch, from whatever address the sender typed:
 *
 *   ZR.media.mount(container, address)
 *
 * - a media file (mp4, webm, ogv, m4v, mov, m3u8): an HTML5 <video controls playsinline>;
 * - the embed page of a video site (player.bilibili.com, youtube.com/embed, v.qq.com …/iframe,
 *   player.youku.com/embed, player.vimeo.com, or any address with "embed" or "iframe" in its
 *   path): an <iframe> in a 16:9 box;
 * - any other web address (a Flash .swf included, which no browser plays any more): a
 *   "观看视频" link that opens it in a new window;
 * - an empty address or one that is not a web address: nothing, and the container is hidden.
 * A video file that cannot be played turns into the link as well. Returns the element made.
 */
(function () {
  'use strict';
  var ZR = (window.ZR = window.ZR || {});

  var FILE = /\.(mp4|webm|ogv|ogg|m4v|mov|m3u8)(\?|#|$)/i;
  var EMBED_HOSTS = /(^|\.)(player\.bilibili\.com|player\.youku\.com|player\.vimeo\.com|youtube(-nocookie)?\.com|v\.qq\.com|open\.iqiyi\.com|player\.ixigua\.com)$/i;

  function parse(address) {
    // An empty address would resolve to the page itself.
    if (!address) return null;
    if (/^\/\//.test(address)) address = 'https:' + address;
    try {
      var url = new URL(address, document.baseURI);
      if (url.protocol !== 'http:' && url.protocol !== 'https:') return null;
      return url;
    } catch (e) {
      return null;
    }
  }

  function kindOf(url) {
    if (FILE.test(url.pathname)) return 'file';
    var path = url.pathname.toLowerCase();
    if (path.indexOf('embed') >= 0 || path.indexOf('iframe') >= 0) return 'embed';
    if (EMBED_HOSTS.test(url.hostname) && /\/(embed|player|txp|iframe)/i.test(path)) return 'embed';
    return 'link';
  }

  function link(url) {
    var a = document.createElement('a');
    a.className = 'zr-media-link';
    a.href = url.href;
    a.target = '_blank';
    a.rel = 'noopener noreferrer';
    a.textContent = '观看视频';
    return a;
  }

  ZR.media = {
    kindOf: function (address) {
      var url = parse((address || '').trim());
      return url ? kindOf(url) : 'none';
    },
    mount: function (container, address) {
      var url = parse((address || '').trim());
      container.textContent = '';
      if (!url) {
        container.hidden = true;
        return null;
      }
      container.hidden = false;
      var kind = kindOf(url);
      var el;
      if (kind === 'file') {
        el = document.createElement('video');
        el.className = 'zr-media-video';
        el.controls = true;
        el.preload = 'metadata';
        el.setAttribute('playsinline', '');
        el.setAttribute('webkit-playsinline', '');
        el.src = url.href;
        el.addEventListener('error', function () {
          var replacement = link(url);
          if (el.parentNode) el.parentNode.replaceChild(replacement, el);
        });
      } else if (kind === 'embed') {
        el = document.createElement('div');
        el.className = 'zr-media-frame';
        el.style.cssText = 'position:relative;width:100%;aspect-ratio:16/9';
        var frame = document.createElement('iframe');
        frame.src = url.href;
        frame.loading = 'lazy';
        frame.allow = 'autoplay; fullscreen; picture-in-picture; encrypted-media';
        frame.setAttribute('allowfullscreen', '');
        frame.referrerPolicy = 'no-referrer-when-downgrade';
        frame.style.cssText = 'position:absolute;inset:0;width:100%;height:100%;border:0';
        el.appendChild(frame);
      } else {
        el = link(url);
      }
      container.appendChild(el);
      return el;
    },
  };
})();
