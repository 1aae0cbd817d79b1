// The extension's browser-free rules: which menu entries the host's list
// gives, and how answers on the host's port are matched with requests.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import test from 'node:test';

// The extension's modules are ES modules in plain .js files, as browsers
// take them. Node decides by the nearest package.json how to read a .js
// file, and older Node versions read one without it as CommonJS; loaded from
// their text, they are read as ES modules by every version.
async function extensionModule(name) {
  const source = fs.readFileSync(new URL(`../../../bridge/extension/lib/${name}`, import.meta.url));
  return import(`data:text/javascript;base64,${source.toString('base64')}`);
}

// A clock of the test's own for HostLink's timers: Node's mock timers
// differ from version to version.
function fakeClock() {
  let now = 0;
  let nextId = 1;
  const pending = new Map();
  return {
    setTimeout(callback, ms) {
      pending.set(nextId, { at: now + ms, callback });
      return nextId++;
    },
    clearTimeout(id) {
      pending.delete(id);
    },
    tick(ms) {
      now += ms;
      const due = [...pending].filter(([, timer]) => timer.at <= now).sort((a, b) => a[1].at - b[1].at);
      for (const [id, timer] of due) {
        if (!pending.delete(id)) continue;
        timer.callback();
      }
    },
  };
}

const { HostLink } = await extensionModule('host_link.js');
const { itemNameOf, menuEntries, menuIdOf } = await extensionModule('menu_entries.js');
const { NOTICES_KEPT, noticesOf, withNotice } = await extensionModule('notices.js');

const launcher = (name, on) => ({
  name,
  kind: 'launcher',
  contexts: { page: false, image: false, link: false, selection: false, ...on },
  needs: [],
});

test('menu entries follow the items', () => {
  const cases = [
    { why: 'page item', items: [launcher('A', { page: true })], chromium: [['page']], firefox: [['page', 'frame']] },
    {
      why: 'every situation, in a fixed order',
      items: [launcher('A', { selection: true, link: true, image: true, page: true })],
      chromium: [['page', 'image', 'link', 'selection']],
      firefox: [['page', 'frame', 'image', 'link', 'selection']],
    },
    { why: 'link only', items: [launcher('A', { link: true })], chromium: [['link']], firefox: [['link']] },
    {
      why: 'fixed string: text fields, whatever its situations say',
      items: [{ name: 'F', kind: 'fixed', contexts: { page: true }, needs: [] }],
      chromium: [['editable']],
      firefox: [['editable', 'password']],
    },
    { why: 'an item offered nowhere has no entry', items: [launcher('A', {})], chromium: [], firefox: [] },
    {
      why: 'a name listed twice gets one entry',
      items: [launcher('A', { page: true }), launcher('A', { link: true })],
      chromium: [['page']],
      firefox: [['page', 'frame']],
    },
    { why: 'nameless and malformed items are skipped', items: [null, { kind: 'launcher' }, launcher('', { page: true })], chromium: [], firefox: [] },
    { why: 'no list at all', items: undefined, chromium: [], firefox: [] },
  ];
  for (const { why, items, chromium, firefox } of cases) {
    assert.deepEqual(menuEntries(items, 'chromium').map((e) => e.contexts), chromium, why);
    assert.deepEqual(menuEntries(items, 'firefox').map((e) => e.contexts), firefox, why);
  }
});

test('menu titles show the name as the old menu did', () => {
  const cases = [
    ['メモ帳', 'メモ帳'],
    ['&Clip', '&Clip'], // access key, as before
    ['A && B', 'A && B'], // one ampersand shown
    ['100%s', '100%\u2060s'], // never replaced by the selection
    ['%s%s', '%\u2060s%\u2060s'],
    ['50% off', '50% off'],
  ];
  for (const [name, title] of cases) {
    const [entry] = menuEntries([launcher(name, { page: true })], 'chromium');
    assert.equal(entry.title, title, name);
    assert.equal(itemNameOf(entry.id), name, `${name}: the id gives the name back`);
  }
  assert.equal(itemNameOf('something-else'), null);
  assert.equal(itemNameOf(menuIdOf('a:b')), 'a:b');
});

// A stand-in for the browser's runtime and native port.
function fakeRuntime() {
  const runtime = { lastError: undefined, ports: [] };
  runtime.connectNative = (name) => {
    const port = {
      name,
      sent: [],
      messageListeners: [],
      disconnectListeners: [],
      onMessage: { addListener: (f) => port.messageListeners.push(f) },
      onDisconnect: { addListener: (f) => port.disconnectListeners.push(f) },
      postMessage: (m) => port.sent.push(m),
      answer: (m) => port.messageListeners.forEach((f) => f(m)),
      close: (error) => {
        runtime.lastError = error ? { message: error } : undefined;
        port.disconnectListeners.forEach((f) => f(port));
        runtime.lastError = undefined;
      },
    };
    runtime.ports.push(port);
    return port;
  };
  return runtime;
}

test('answers on the host port reach the request they belong to', async () => {
  const runtime = fakeRuntime();
  const shown = [];
  const link = new HostLink(runtime, (items) => shown.push(items.map((i) => i.name)));
  link.connect();
  const [port] = runtime.ports;
  assert.deepEqual(port.sent, [{ type: 'list' }], 'the list is asked for at once');

  const first = link.request({ type: 'pick', name: 'A', facts: {} });
  const second = link.request({ type: 'pick', name: 'B', facts: {} });
  port.answer({ type: 'items', version: 1, items: [{ name: 'A' }] }); // answers the list
  port.answer({ type: 'items', version: 2, items: [{ name: 'A' }, { name: 'B' }] }); // unasked
  port.answer({ type: 'started' });
  port.answer({ type: 'error', message: 'no B' });
  assert.deepEqual(await first, { type: 'started' });
  assert.deepEqual(await second, { type: 'error', message: 'no B' });
  assert.deepEqual(shown, [['A'], ['A', 'B']]);
  assert.deepEqual(link.items.map((i) => i.name), ['A', 'B']);
  assert.equal(runtime.ports.length, 1, 'one port for everything');
});

test('a host that goes away answers what is pending with an error, and is connected again', async () => {
  const clock = fakeClock();
  const runtime = fakeRuntime();
  const link = new HostLink(runtime, () => {}, clock);
  link.connect();
  const pending = link.request({ type: 'pick', name: 'A', facts: {} });
  runtime.ports[0].close('Native host has exited.');
  const answer = await pending;
  assert.equal(answer.type, 'error');
  assert.match(answer.message, /OrbiskHost\.exe/);
  assert.match(answer.message, /Native host has exited\./);
  assert.equal(link.connected, false);

  clock.tick(1000);
  assert.equal(runtime.ports.length, 2, 'tried again after a second');
  runtime.ports[1].close('not found');
  clock.tick(1999);
  assert.equal(runtime.ports.length, 2, 'then after two seconds');
  clock.tick(1);
  assert.equal(runtime.ports.length, 3);
  runtime.ports[2].answer({ type: 'items', version: 1, items: [] });
  assert.equal(link.connected, true);
  assert.equal(link.lastError, '');
});

test('a click that woke the background waits for the first list, but not for ever', async () => {
  const clock = fakeClock();
  const runtime = fakeRuntime();
  const link = new HostLink(runtime, () => {}, clock);
  const known = link.itemsWhenKnown(5000);
  runtime.ports[0].answer({ type: 'items', version: 1, items: [{ name: 'A' }] });
  assert.deepEqual(await known, [{ name: 'A' }]);

  const silentRuntime = fakeRuntime();
  const silent = new HostLink(silentRuntime, () => {}, clock);
  const never = silent.itemsWhenKnown(5000);
  clock.tick(5000);
  assert.equal(await never, null);
});

test('the manifest carries the key whose id the host allows', async () => {
  const fs = await import('node:fs');
  const { chromiumExtensionId } = await import('../lib/browsers.mjs');
  const dir = new URL('../../../bridge/extension/', import.meta.url);
  const manifest = JSON.parse(fs.readFileSync(new URL('manifest.json', dir), 'utf8'));
  const key = fs.readFileSync(new URL('key.txt', dir), 'utf8').trim();
  assert.equal(manifest.key, key);
  const ids = fs.readFileSync(new URL('../../../bridge/host/extension_ids.h', import.meta.url), 'utf8');
  assert.match(ids, new RegExp(`kChromiumExtensionId\\[\\] = "${chromiumExtensionId(key)}"`));
  assert.match(ids, new RegExp(`kGeckoExtensionId\\[\\] = "${manifest.browser_specific_settings.gecko.id}"`));
  // Both families load the same folder.
  assert.equal(manifest.background.service_worker, 'background.js');
  assert.deepEqual(manifest.background.scripts, ['background.js']);
});

test('the recent errors are kept newest first, at most NOTICES_KEPT of them', () => {
  const line = (n) => ({ time: `2026-01-01T00:00:${String(n).padStart(2, '0')}Z`, message: `エラー ${n}` });
  const lines = (count) => Array.from({ length: count }, (_, i) => line(i + 1));
  const cases = [
    { why: 'nothing stored yet', stored: undefined, kept: [line(0)] },
    { why: 'added in front', stored: lines(2), kept: [line(0), ...lines(2)] },
    { why: 'one short of full', stored: lines(NOTICES_KEPT - 1), kept: [line(0), ...lines(NOTICES_KEPT - 1)] },
    { why: 'full: the oldest goes', stored: lines(NOTICES_KEPT), kept: [line(0), ...lines(NOTICES_KEPT - 1)] },
    { why: 'more than kept, from an older version', stored: lines(NOTICES_KEPT + 5), kept: [line(0), ...lines(NOTICES_KEPT - 1)] },
    {
      why: 'malformed lines are dropped',
      stored: [null, 'text', { time: 1, message: 'x' }, { time: 'now' }, line(1), [line(2)]],
      kept: [line(0), line(1)],
    },
    { why: 'not a list', stored: { 0: line(1), length: 1 }, kept: [line(0)] },
  ];
  for (const { why, stored, kept } of cases) {
    assert.deepEqual(withNotice(stored, line(0)), kept, why);
    assert.deepEqual(noticesOf(kept), kept, `${why}: every kept line can be shown`);
  }
});
