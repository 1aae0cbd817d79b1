// Orbisk's entries in the browser's context menu. The catalogue lives in
// Orbisk on Windows; its native messaging host lists the items, and for a
// picked entry starts the item's application or returns its fixed text. This
// script builds the menu from the host's list, gathers in the page the facts
// an item needs and hands the pick to the host.
import { HostLink } from './lib/host_link.js';
import { itemNameOf, menuEntries } from './lib/menu_entries.js';
import { NOTICES_KEY, withNotice } from './lib/notices.js';
import { gatherFrameFacts, gatherTopFacts, typeIntoEditable } from './lib/page_functions.js';

const api = globalThis.browser ?? globalThis.chrome;
const browserFamily = typeof api.runtime.getBrowserInfo === 'function' ? 'firefox' : 'chromium';

const FACT_NAMES = [
  'topUrl', 'topTitle', 'frameUrl', 'frameTitle', 'linkUrl', 'linkText',
  'imageUrl', 'imageAlt', 'selectionText', 'selectionSource', 'inputText',
];
const TOP_FACTS = ['topUrl', 'topTitle'];
// How long a click that woke the background waits for the host's first list.
const FIRST_LIST_WAIT_MS = 5000;

let shownEntries = [];
let menuWork = Promise.resolve();
let noticeWork = Promise.resolve();

const link = new HostLink(api.runtime, (items) => {
  showItems(items);
  tellPages(items);
});

// contextMenus.create answers through a callback only, in both families.
function createEntry(entry) {
  return new Promise((resolve, reject) => {
    api.contextMenus.create({ id: entry.id, title: entry.title, contexts: entry.contexts }, () => {
      const error = api.runtime.lastError;
      if (error) reject(new Error(error.message));
      else resolve();
    });
  });
}

// Replaces every entry with those of `items`. Rebuilds run one after the
// other, so a quick second change never interleaves with the first.
function showItems(items) {
  menuWork = menuWork.then(async () => {
    await api.contextMenus.removeAll();
    const created = [];
    for (const entry of menuEntries(items, browserFamily)) {
      try {
        await createEntry(entry);
        created.push(entry);
      } catch (error) {
        remember(`メニュー項目「${entry.title}」を作れませんでした。（${error.message}）`);
      }
    }
    shownEntries = created;
  }).catch((error) => remember(`メニューを作り直せませんでした。（${error.message}）`));
  return menuWork;
}

// The extension's own page, when it is open, shows how many items there are:
// it hears of each new list, as the menu does, without asking again. With no
// page open nobody receives it, which is no error.
function tellPages(items) {
  api.runtime.sendMessage({ type: 'items', itemCount: items.length }).catch(() => {});
}

// Adds a line to the recent errors, newest first. Writes run one after the
// other, so that two errors at once both stay.
function remember(message) {
  const notice = { time: new Date().toISOString(), message };
  noticeWork = noticeWork
    .then(async () => {
      const stored = (await api.storage.session.get(NOTICES_KEY))[NOTICES_KEY];
      await api.storage.session.set({ [NOTICES_KEY]: withNotice(stored, notice) });
    })
    .catch(() => {
      // The notification, where there is one, still tells it.
    });
  return noticeWork;
}

// Tells the user what went wrong: a notification now, and a line on the
// extension's page for later.
async function notify(message) {
  await remember(message);
  try {
    await api.notifications.create({
      type: 'basic',
      iconUrl: api.runtime.getURL('icons/orbisk-128.png'),
      title: 'Orbisk',
      message,
    });
  } catch {
    // The line on the extension's page still tells it.
  }
}

async function runInFrame(tabId, frameId, func, args = []) {
  const [result] = await api.scripting.executeScript({ target: { tabId, frameIds: [frameId] }, func, args });
  return result ? result.result : undefined;
}

// A page's text may hold halves of surrogate pairs. Chromium turns them into
// U+FFFD on the way to the host and Firefox sends them as \udXXX escapes,
// which are no text at all; both get U+FFFD here, so that the pick works the
// same in both.
function wellFormed(text) {
  if (typeof text !== 'string') return '';
  if (typeof text.toWellFormed === 'function') return text.toWellFormed();
  return text.replace(/[\ud800-\udbff](?![\udc00-\udfff])|(?<![\ud800-\udbff])[\udc00-\udfff]/g, '\ufffd');
}

// The facts that `needs` names, from the frame the menu was opened in and,
// for the top document's facts, from the top frame. A page that cannot be
// scripted (the browser's own pages, other extensions') gives what the click
// itself tells; every other fact stays empty, as a failed lookup did before.
async function gatherFacts(needs, info, tab) {
  const facts = Object.fromEntries(FACT_NAMES.map((name) => [name, '']));
  const frameId = Number.isInteger(info.frameId) ? info.frameId : 0;
  try {
    Object.assign(facts, await runInFrame(tab.id, frameId, gatherFrameFacts, [needs]));
    if (frameId !== 0 && needs.some((name) => TOP_FACTS.includes(name))) {
      Object.assign(facts, await runInFrame(tab.id, 0, gatherTopFacts, [needs]));
    }
  } catch {
    const fromClick = {
      topUrl: info.pageUrl,
      frameUrl: info.frameUrl ?? info.pageUrl,
      linkUrl: info.linkUrl,
      imageUrl: info.mediaType === 'image' ? info.srcUrl : undefined,
      selectionText: info.selectionText,
    };
    for (const name of needs) if (typeof fromClick[name] === 'string') facts[name] = fromClick[name];
  }
  for (const name of FACT_NAMES) facts[name] = wellFormed(facts[name]);
  return facts;
}

// What a click on one of Orbisk's entries does. `info` and `tab` are those
// of contextMenus.onClicked. Resolves with the host's answer, or with
// {type: "ignored"} when nothing was to be done.
async function pick(menuItemId, info = {}, tab = {}) {
  const name = itemNameOf(menuItemId);
  if (name === null) return { type: 'ignored' };
  let answer;
  try {
    if (!tab || !Number.isInteger(tab.id)) throw new Error('このページでは使えません。');
    const items = (await link.itemsWhenKnown(FIRST_LIST_WAIT_MS)) ?? [];
    const item = items.find((candidate) => candidate.name === name);
    if (item && item.kind === 'fixed') {
      // The frame the menu was opened in, or, where content.js could not be
      // loaded into that frame, the top page, down through its focused frames.
      const frameId = Number.isInteger(info.frameId) ? info.frameId : 0;
      let place = { frameId, throughFrames: false };
      let found = await runInFrame(tab.id, frameId, typeIntoEditable, [null, false]).catch(() => null);
      if (found === null || found === undefined) {
        place = { frameId: 0, throughFrames: true };
        found = await runInFrame(tab.id, 0, typeIntoEditable, [null, true]).catch(() => false);
      }
      // Over anything but a place to type into a fixed string does nothing.
      if (found !== true) return { type: 'ignored' };
      answer = await link.request({ type: 'pick', name, facts: {} });
      if (answer.type === 'text') {
        const commandSendsBeforeInput = browserFamily === 'firefox';
        await runInFrame(tab.id, place.frameId, typeIntoEditable, [String(answer.text ?? ''), place.throughFrames, commandSendsBeforeInput]);
      }
    } else {
      // An item unknown here, deleted in Orbisk a moment ago, still goes to
      // the host, which knows best and says why it cannot start it.
      const needs = item && Array.isArray(item.needs) ? item.needs.filter((n) => FACT_NAMES.includes(n)) : [];
      answer = await link.request({ type: 'pick', name, facts: await gatherFacts(needs, info, tab) });
    }
  } catch (error) {
    answer = { type: 'error', message: `「${name}」を実行できませんでした。${error.message}` };
  }
  if (!answer || typeof answer.type !== 'string') answer = { type: 'error', message: 'ホスト プログラムの応答が読めません。' };
  if (answer.type === 'error') await notify(String(answer.message || `「${name}」を実行できませんでした。`));
  return answer;
}

api.contextMenus.onClicked.addListener((info, tab) => {
  pick(info.menuItemId, info, tab);
});

// The extension's own page asks how things stand.
api.runtime.onMessage.addListener((message, sender, sendResponse) => {
  if (sender.id !== api.runtime.id || !message || message.type !== 'status') return false;
  // The page's "再確認" after registering the host connects at once.
  link.connect();
  sendResponse({
    connected: link.connected,
    lastError: link.lastError,
    itemCount: link.items ? link.items.length : null,
  });
  return false;
});

// Right after installation the extension's page shows whether the host is
// registered and, if not, how to register it.
api.runtime.onInstalled.addListener((details) => {
  if (details.reason === 'install') api.runtime.openOptionsPage();
});

link.connect();
