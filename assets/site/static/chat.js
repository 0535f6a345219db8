// A small help chat: the visitor's question is matched against the topics of the page by
// keywords; a question no topic knows gets the page's fallback answer.
(function () {
  var topics = window.CHAT_TOPICS || [];
  var log = document.getElementById('chat-log');
  var form = document.getElementById('chat-form');
  var input = document.getElementById('chat-input');
  var quick = document.getElementById('chat-quick');

  function add(who, text) {
    var row = document.createElement('div');
    row.className = 'msg ' + who;
    var bubble = document.createElement('div');
    bubble.className = 'bubble';
    bubble.textContent = text;
    row.appendChild(bubble);
    log.appendChild(row);
    log.scrollTop = log.scrollHeight;
  }

  function answer(question) {
    var q = question.toLowerCase();
    for (var i = 0; i < topics.length; i++) {
      for (var k = 0; k < topics[i].keys.length; k++) {
        if (q.indexOf(topics[i].keys[k]) >= 0) return topics[i].answer;
      }
    }
    return window.CHAT_FALLBACK;
  }

  function ask(question) {
    question = question.trim();
    if (!question) return;
    add('me', question);
    setTimeout(function () { add('staff', answer(question)); }, 350);
  }

  form.addEventListener('submit', function (e) {
    e.preventDefault();
    ask(input.value);
    input.value = '';
  });
  topics.forEach(function (t) {
    if (!t.label) return;
    var b = document.createElement('button');
    b.type = 'button';
    b.textContent = t.label;
    b.addEventListener('click', function () { ask(t.label); });
    quick.appendChild(b);
  });
  add('staff', window.CHAT_GREETING);
})();
