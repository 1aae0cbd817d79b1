// The extension's own page: whether Orbisk's host answers and how many items
// it lists, how to register it when it does not, and the errors of recent
// picks. Items are edited in Orbisk's own windows, not here.
import { HOST_NAME } from './lib/host_link.js';
import { NOTICES_KEY, noticesOf } from './lib/notices.js';

const api = globalThis.browser ?? globalThis.chrome;

function show(id, text) {
  const element = document.getElementById(id);
  element.textContent = text;
  element.hidden = text === '';
}

async function askHost() {
  try {
    const answer = await api.runtime.sendNativeMessage(HOST_NAME, { type: 'list' });
    if (answer && answer.type === 'items' && Array.isArray(answer.items)) return { items: answer.items };
    return { error: answer && answer.message ? String(answer.message) : '応答が読めません。' };
  } catch (error) {
    return { error: String(error && error.message ? error.message : error) };
  }
}

// The background keeps the recent errors in session storage, where they
// outlive it; they are read from there, whether it runs or not.
async function showNotices() {
  let notices = [];
  try {
    notices = noticesOf((await api.storage.session.get(NOTICES_KEY))[NOTICES_KEY]);
  } catch {
    // Without the storage there is nothing to list.
  }
  const list = document.getElementById('notice-list');
  list.replaceChildren(
    ...notices.map((notice) => {
      const line = document.createElement('li');
      const time = document.createElement('time');
      time.dateTime = notice.time;
      time.textContent = new Date(notice.time).toLocaleString('ja-JP');
      line.append(time, notice.message);
      return line;
    }),
  );
  document.getElementById('notices').hidden = notices.length === 0;
}

function showCount(count) {
  show('count', `Orbisk の項目は ${count} 件です。`);
}

// Whether the page's last check found the host answering. Only then does the
// count follow the lists the background hears of: while a check runs, its
// own list is the newer, and after a failed one the page keeps telling how
// to register the host until it is checked again.
let answering = false;

async function check() {
  const state = document.getElementById('state');
  state.className = 'checking';
  state.textContent = '確認しています…';
  answering = false;
  show('count', '');
  show('detail', '');
  // Wakes the background, which then connects to the host at once instead
  // of at its next retry: the user may have registered the host just now.
  api.runtime.sendMessage({ type: 'status' }).catch(() => {});
  const result = await askHost();
  const register = document.getElementById('register');
  answering = !!result.items;
  if (result.items) {
    state.className = 'ok';
    state.textContent = 'OrbiskHost.exe は応答しています。';
    showCount(result.items.length);
    register.classList.remove('missing');
  } else {
    state.className = 'missing';
    state.textContent = 'OrbiskHost.exe が応答しません。登録されていないか、起動できません。';
    show('detail', result.error);
    register.classList.add('missing');
  }
  await showNotices();
  document.body.dataset.checked = result.items ? 'ok' : 'missing';
}

// The background tells of each list the host sends, as when Orbisk has
// saved a change or imported items: the count follows without a check.
api.runtime.onMessage.addListener((message, sender) => {
  if (sender.id !== api.runtime.id || sender.tab || !message || message.type !== 'items') return;
  if (!answering || !Number.isSafeInteger(message.itemCount) || message.itemCount < 0) return;
  showCount(message.itemCount);
});

document.getElementById('recheck').addEventListener('click', check);
check();
