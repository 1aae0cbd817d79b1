// End-to-end tests of Orbisk's browser extension in a real browser with the
// real OrbiskHost.exe under Wine:
//   node run.mjs --browser chromium|firefox --windows-build <dir>
//                --engine-result <exe> --extension <dir> --work <dir>
// The extension is the copy the build makes of bridge/extension with the
// test hook added (assemble_test_extension.cmake).
// Each pick starts from a real right click in a page served on loopback; the
// program the item names (a recorder, or Jotwell) is started by the host, and
// what it was started with is compared with the substitution engine's result
// for that page's facts, which the test reads from the page itself.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, it } from 'node:test';
import { parseArgs } from 'node:util';

import { GECKO_ID, chromiumExtensionId, launchChromium, launchFirefox, waitFor } from './lib/browsers.mjs';
import { startServer } from './lib/server.mjs';
import { WineWorld, clearRecord, engineResults, readRecord, startHost, winPath } from './lib/wine.mjs';

const { values: options } = parseArgs({
  options: {
    browser: { type: 'string' },
    'windows-build': { type: 'string' },
    'engine-result': { type: 'string' },
    extension: { type: 'string' },
    work: { type: 'string' },
  },
});
const family = options.browser;
const windowsBuild = path.resolve(options['windows-build']);
const engineResult = path.resolve(options['engine-result']);
const work = path.resolve(options.work);
const extensionDir = path.resolve(options.extension);
const prefix = process.env.WINEPREFIX || path.join(windowsBuild, 'wine-test-prefix');

const START_FAILED = 'プログラムの起動に失敗しました。';

const world = new WineWorld({ prefix, windowsBuild, work: path.join(work, 'world') });
let server;
let session;
let page;
let manifests;
const apps = {};

// One item per token group, each starting its own recorder copy, in its own
// folder: the folder is the item's, whatever the page says.
const launcherItems = () => [
  {
    name: 'ページ情報(&P)',
    app: 'ページ 情報',
    template: 'top="<TT>" <TU> frame="<FT>" <FU> wide=<TT2>|<TU2>|<FT2>|<FU2>',
    contexts: { page: true },
    windowStyle: 1,
  },
  { name: 'リンク', app: 'リンク', template: '"<AU>" "<AT>"', contexts: { link: true }, windowStyle: 2 },
  { name: '画像', app: '画像 表', template: '"<IU>" "<IA>"', contexts: { image: true }, windowStyle: 3 },
  {
    name: 'リンクと画像',
    app: 'リンクと画像',
    template: 'a=<AU>|<AT> i=<IU>|<IA>',
    contexts: { image: true, link: true },
    windowStyle: 1,
  },
  { name: '選択', app: '選択', template: '[<ST>] [<SS>] in <FU>', contexts: { selection: true }, windowStyle: 0 },
  {
    name: '日時',
    app: '日時',
    template: '<Y4>-<M2>-<D2> <Y2>/<M1>/<D1> <WE> <WJ> <H2>:<N2>:<S2> <H1>.<N1>.<S1><\\T>tab<\\N>next',
    contexts: { page: true },
    windowStyle: 1,
  },
  { name: '入力', app: '入力', template: '入力=[<IT>] <TT>', contexts: { page: true }, windowStyle: 1 },
  { name: '確認 & 表示', app: '確認', template: '<TU> "<TT>"', contexts: { page: true }, windowStyle: 1, confirm: true },
];

const FIXED = { name: '定型文', kind: 'fixed', text: '[<Y4>/<M2>/<D2> <TU> "引用"]' };

function sortedNames(names) {
  // Orbisk's own list order comes from the host; the test only needs the set.
  return [...names].sort();
}

// Right-clicks the element with the mouse at its first box's middle, found
// frame by frame up to the page. (An element handle's own click asks the
// browser for the frame's element by a locator that Firefox ESR 140, which
// a bare Debian 12 installs, does not know.)
async function rightClick(frame, selector) {
  await frame.waitForSelector(selector);
  let { x, y } = await frame.$eval(selector, (element) => {
    element.scrollIntoView({ block: 'center', inline: 'center' });
    const box = element.getClientRects()[0] ?? element.getBoundingClientRect();
    return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
  });
  for (let inner = frame; inner.parentFrame(); inner = inner.parentFrame()) {
    // A frame the page wrote itself has no address of its own: its body's
    // id tells it. A sandboxed one the page cannot look into: its name.
    const [bodyId, name] = await inner.evaluate(() => [document.body ? document.body.id : '', window.name]);
    const offset = await inner.parentFrame().evaluate((url, bodyId, name) => {
      const holders = [...document.querySelectorAll('iframe, frame')];
      const holder =
        holders.find((element) => element.src === url) ??
        holders.find((element) => bodyId !== '' && element.contentDocument?.body?.id === bodyId) ??
        holders.find((element) => name !== '' && element.name === name);
      const box = holder.getBoundingClientRect();
      return { x: box.left + holder.clientLeft, y: box.top + holder.clientTop };
    }, inner.url(), bodyId, name);
    x += offset.x;
    y += offset.y;
  }
  await page.mouse.click(x, y, { button: 'right' });
}

// Picks `item` after a right click on `selector` in `frame`, waits for its
// recorder and returns what it recorded, with the pick's time span.
async function pickAndRecord(item, frame, selector, { answer } = {}) {
  const exe = apps[item.name];
  clearRecord(exe);
  await rightClick(frame, selector);
  if (answer !== undefined) page.orbiskDialogAnswer = answer;
  const from = Date.now();
  const reply = await session.pick(item.name, page, frame);
  assert.deepEqual(reply, { type: 'started' }, `${item.name}: the host's answer`);
  const record = await waitFor(`${item.name}'s recorder`, () => readRecord(exe), 15000);
  return { record, from, to: Date.now() };
}

// The facts of the page, read by the test itself from the DOM.
async function frameFacts(frame) {
  const top = page.mainFrame();
  return {
    topUrl: top.url(),
    topTitle: await top.title(),
    frameUrl: frame.url(),
    frameTitle: await frame.title(),
  };
}

async function expectRecordMatchesEngine(item, { record, from, to }, facts) {
  const expected = await engineResults(options['engine-result'], { template: item.template, facts, from, to });
  const commandLines = expected.map((args) => `"${winPath(apps[item.name])}" ${args}`);
  assert.ok(commandLines.includes(record.commandLine), `${item.name}: ${record.commandLine}\nexpected one of\n${commandLines.join('\n')}`);
  assert.equal(record.folder, winPath(path.dirname(apps[item.name])), `${item.name}: working folder`);
  assert.equal(record.show, `1 ${item.windowStyle}`, `${item.name}: window style`);
}

const item = (name) => launcherItems().find((candidate) => candidate.name === name);

describe(`Orbisk in ${family}`, () => {
  before(async () => {
    world.setUp();
    for (const entry of launcherItems()) {
      apps[entry.name] = world.installRecorder(entry.app);
      await world.addItem({ ...entry, kind: 'launcher', application: winPath(apps[entry.name]) });
    }
    await world.addItem(FIXED);
    manifests = await world.register();
    assert.deepEqual(manifests.box && [manifests.box.title, manifests.box.text], ['Orbisk', 'ブラウザとの連携を登録しました。']);
    server = await startServer();
    const key = fs.readFileSync(path.join(extensionDir, 'key.txt'), 'utf8').trim();
    const profileDir = path.join(work, 'profile');
    if (family === 'chromium') {
      const extensionId = chromiumExtensionId(key);
      assert.ok(manifests.chromium, 'OrbiskHost.exe /register writes a Chromium host manifest');
      assert.deepEqual(manifests.chromium.allowed_origins, [`chrome-extension://${extensionId}/`]);
      session = await launchChromium({
        extensionDir,
        extensionId,
        hostManifest: { ...manifests.chromium, path: world.hostWrapper },
        profileDir,
      });
    } else {
      assert.ok(manifests.firefox, 'OrbiskHost.exe /register writes a Firefox host manifest');
      assert.deepEqual(manifests.firefox.allowed_extensions, [GECKO_ID]);
      session = await launchFirefox({ extensionDir, hostManifest: { ...manifests.firefox, path: world.hostWrapper }, profileDir });
    }
    page = await session.newPage();
  });

  after(async () => {
    if (session) await session.close();
    if (server) await server.close();
  });

  it('builds the menu from the catalogue', async () => {
    const entries = await session.waitForMenus((list) => list.length === launcherItems().length + 1);
    const byName = Object.fromEntries(entries.map((entry) => [entry.id.replace(/^orbisk-item:/, ''), entry]));
    assert.deepEqual(sortedNames(Object.keys(byName)), sortedNames([...launcherItems().map((i) => i.name), FIXED.name]));
    const frameToo = family === 'firefox' ? ['frame'] : [];
    assert.deepEqual(byName['ページ情報(&P)'], { id: 'orbisk-item:ページ情報(&P)', title: 'ページ情報(&P)', contexts: ['page', ...frameToo] });
    assert.deepEqual(byName['リンクと画像'].contexts, ['image', 'link']);
    assert.deepEqual(byName['選択'].contexts, ['selection']);
    assert.deepEqual(byName[FIXED.name].contexts, family === 'firefox' ? ['editable', 'password'] : ['editable']);
  });

  it('starts a page item with the top page and the frame it was picked in', async () => {
    await page.goto(server.url('/index.html'));
    const entry = item('ページ情報(&P)');
    let run = await pickAndRecord(entry, page.mainFrame(), '#blank');
    await expectRecordMatchesEngine(entry, run, await frameFacts(page.mainFrame()));
    const frame = page.frames().find((f) => f.url().endsWith('/frame.html'));
    run = await pickAndRecord(entry, frame, '#frame-blank');
    await expectRecordMatchesEngine(entry, run, await frameFacts(frame));
  });

  it('gives link and image items what is under the pointer', async () => {
    await page.goto(server.url('/index.html'));
    const main = page.mainFrame();
    const frame = page.frames().find((f) => f.url().endsWith('/frame.html'));
    const href = (f, selector) => f.$eval(selector, (a) => a.href);
    const src = (f, selector) => f.$eval(selector, (img) => img.src);
    const cases = [
      { item: 'リンク', frame: main, at: '#link-inner', facts: { linkUrl: await href(main, '#plain-link'), linkText: 'リンクの太字文字' } },
      { item: 'リンク', frame, at: '#frame-link', facts: { linkUrl: await href(frame, '#frame-link'), linkText: 'フレームのリンク' } },
      { item: '画像', frame: main, at: '#plain-image', facts: { imageUrl: await src(main, '#plain-image'), imageAlt: 'ただの画像' } },
      { item: '画像', frame: main, at: '#image-button', facts: { imageUrl: await src(main, '#image-button'), imageAlt: '送信ボタン' } },
      { item: '画像', frame, at: '#frame-image', facts: { imageUrl: await src(frame, '#frame-image'), imageAlt: 'フレームの画像' } },
      {
        item: 'リンクと画像',
        frame: main,
        at: '#linked-image',
        facts: { linkUrl: await href(main, '#image-link'), linkText: '', imageUrl: await src(main, '#linked-image'), imageAlt: 'リンクの画像' },
      },
      { item: 'リンクと画像', frame: main, at: '#plain-image', facts: { imageUrl: await src(main, '#plain-image'), imageAlt: 'ただの画像' } },
    ];
    for (const c of cases) {
      const entry = item(c.item);
      const run = await pickAndRecord(entry, c.frame, c.at);
      await expectRecordMatchesEngine(entry, run, c.facts);
    }
  });

  it('takes the link the user right-clicked, not one the page sends a contextmenu event to', async () => {
    await page.goto(server.url('/synthetic-menu.html'));
    const main = page.mainFrame();
    const entry = item('リンク');
    const exe = apps[entry.name];
    clearRecord(exe);
    await rightClick(main, '#shown-link');
    await main.waitForFunction(() => document.body.dataset.dispatched === '2');
    const from = Date.now();
    assert.deepEqual(await session.pick(entry.name, page), { type: 'started' });
    const record = await waitFor(`${entry.name}'s recorder`, () => readRecord(exe), 15000);
    await expectRecordMatchesEngine(entry, { record, from, to: Date.now() }, {
      linkUrl: await main.$eval('#shown-link', (a) => a.href),
      linkText: '見えるリンク',
    });
  });

  it('gives image items the image of an image-map area', async () => {
    await page.goto(server.url('/index.html'));
    const main = page.mainFrame();
    const mapImage = await main.$eval('#map-image', (img) => img.src);
    const box = await (await main.$('#map-image')).boundingBox();
    const entry = item('画像');
    // Areas have no box of their own: click where they lie on the image.
    for (const [x, alt] of [[box.x + 20, '北の区画'], [box.x + 100, '地図の画像']]) {
      clearRecord(apps[entry.name]);
      await page.mouse.click(x, box.y + 20, { button: 'right' });
      const from = Date.now();
      assert.deepEqual(await session.pick(entry.name, page), { type: 'started' });
      const record = await waitFor('the recorder', () => readRecord(apps[entry.name]), 15000);
      await expectRecordMatchesEngine(entry, { record, from, to: Date.now() }, { imageUrl: mapImage, imageAlt: alt });
    }
  });

  it('gives selection items the selected text, trimmed of blanks, and its source', async () => {
    await page.goto(server.url('/index.html'));
    const main = page.mainFrame();
    await main.$eval('#selection', (p) => {
      const range = document.createRange();
      range.selectNodeContents(p);
      getSelection().removeAllRanges();
      getSelection().addRange(range);
    });
    const entry = item('選択');
    const run = await pickAndRecord(entry, main, '#selection b');
    await expectRecordMatchesEngine(entry, run, {
      selectionText: '選択する日本語の文',
      selectionSource: '  選択する<b>日本語</b>の文  ',
      frameUrl: main.url(),
    });
  });

  it('fills in the date and time as the clock reads while the host works', async () => {
    await page.goto(server.url('/index.html'));
    const entry = item('日時');
    const run = await pickAndRecord(entry, page.mainFrame(), '#blank');
    await expectRecordMatchesEngine(entry, run, {});
  });

  it('asks for the typed text in the page, and takes a cancelled prompt as empty', async () => {
    await page.goto(server.url('/index.html'));
    const entry = item('入力');
    for (const [answer, typed] of [['打ち込んだ "文字"', '打ち込んだ "文字"'], [null, '']]) {
      page.orbiskDialogs.length = 0;
      const run = await pickAndRecord(entry, page.mainFrame(), '#blank', { answer });
      assert.deepEqual(page.orbiskDialogs, [{ type: 'prompt', message: '', defaultValue: '' }]);
      await expectRecordMatchesEngine(entry, run, { inputText: typed, topTitle: await page.title() });
    }
    page.orbiskDialogAnswer = undefined;
  });

  it('shows the command line instead of starting the program when the item asks for confirmation', async () => {
    await page.goto(server.url('/index.html'));
    const entry = item('確認 & 表示');
    clearRecord(apps[entry.name]);
    await rightClick(page.mainFrame(), '#blank');
    const boxes = world.watchBoxes(1);
    const from = Date.now();
    const reply = await session.pick(entry.name, page);
    const [box] = await boxes;
    assert.deepEqual(reply, { type: 'confirmed' });
    const [args] = await engineResults(engineResult, {
      template: entry.template,
      facts: { topUrl: page.url(), topTitle: await page.title() },
      from,
      to: from,
    });
    assert.equal(box.title, '確認  表示', 'the title is the name without "&"');
    assert.equal(box.text, `"${winPath(apps[entry.name])}" ${args}`);
    assert.deepEqual(box.buttons, [1]);
    assert.equal(readRecord(apps[entry.name]), null, 'nothing was started');
  });

  it('shows the failure box when the program cannot be started', async () => {
    const missing = { name: '存在しない', kind: 'launcher', application: winPath(path.join(work, 'nowhere', 'none.exe')), template: '<TU>', contexts: { page: true } };
    await world.addItem(missing);
    try {
      await session.waitForMenus((list) => list.some((entry) => entry.id === 'orbisk-item:存在しない'));
      await page.goto(server.url('/index.html'));
      await rightClick(page.mainFrame(), '#blank');
      const boxes = world.watchBoxes(1);
      const reply = await session.pick(missing.name, page);
      const [box] = await boxes;
      assert.equal(box.title, '存在しない');
      assert.equal(box.text, START_FAILED);
      assert.equal(reply.type, 'error');
    } finally {
      await world.deleteItem(missing.name);
    }
  });

  it('types a fixed string over the selection of the text field under the pointer, undoably', async () => {
    await page.goto(server.url('/index.html'));
    const main = page.mainFrame();
    const fields = [
      { at: '#text-field', select: [2, 6], before: '前半[選択]後半', head: '前半', tail: '後半' },
      { at: '#password-field', select: [6, 6], before: 'secret', head: 'secret', tail: '' },
      { at: '#text-area', select: [3, 3], before: '一行目\n二行目', head: '一行目', tail: '\n二行目' },
    ];
    for (const field of fields) {
      await rightClick(main, field.at);
      await main.$eval(field.at, (el, [start, end]) => el.setSelectionRange(start, end), field.select);
      const from = Date.now();
      const reply = await session.pick(FIXED.name, page);
      const expected = await engineResults(engineResult, { kind: 'fixed', template: FIXED.text, from, to: Date.now() });
      assert.equal(reply.type, 'text');
      assert.ok(expected.includes(reply.text), reply.text);
      assert.equal(await main.$eval(field.at, (el) => el.value), field.head + reply.text + field.tail, field.at);
      await page.keyboard.down('Control');
      await page.keyboard.press('z');
      await page.keyboard.up('Control');
      assert.equal(await main.$eval(field.at, (el) => el.value), field.before, `${field.at}: Ctrl+Z takes it back`);
    }
    // Over anything else nothing happens, and the host is not asked.
    for (const at of ['#readonly-field', '#blank']) {
      await rightClick(main, at);
      assert.deepEqual(await session.pick(FIXED.name, page), { type: 'ignored' }, at);
    }
    assert.equal(await main.$eval('#readonly-field', (el) => el.value), '読み取り専用');
  });

  it('types a fixed string into every place the browser offers it for: inputs, editable regions, shadow roots and frames, undoably', async (t) => {
    await page.goto(server.url('/editables.html'));
    const main = page.mainFrame();
    const editableFrame = page.frames().find((f) => f.url().endsWith('/editable-frame.html'));
    const writtenFrame = await (await main.$('#written-frame')).contentFrame();
    await writtenFrame.waitForSelector('#written-body');
    const MARK = '[選択]';
    // The text a field shows, or an editable region's.
    const shown = (f, at) => f.$eval(at, (el) => (el.tagName === 'INPUT' || el.tagName === 'TEXTAREA' ? el.value : el.innerText));
    // Selects MARK in the field or region, as the user would before the
    // right click's menu is used; an email input keeps no selection a
    // script can set, so its caret stays where the click put it.
    const selectMark = (f, at) =>
      f.$eval(at, (el, mark) => {
        if (el.tagName === 'INPUT' || el.tagName === 'TEXTAREA') {
          if (el.type === 'email') return;
          const i = el.value.indexOf(mark);
          el.setSelectionRange(i, i + mark.length);
          return;
        }
        const doc = el.ownerDocument;
        const walker = doc.createTreeWalker(el, NodeFilter.SHOW_TEXT);
        for (let node = walker.nextNode(); node; node = walker.nextNode()) {
          const i = node.data.indexOf(mark);
          if (i < 0) continue;
          const root = el.getRootNode();
          const selection = (typeof root.getSelection === 'function' && root.getSelection()) || doc.getSelection();
          const range = doc.createRange();
          range.setStart(node, i);
          range.setEnd(node, i + mark.length);
          selection.removeAllRanges();
          selection.addRange(range);
          return;
        }
        throw new Error(`no ${mark} in ${el.id}`);
      }, MARK);
    const places = [
      { frame: main, at: '#search-field' },
      { frame: main, at: '#url-field' },
      { frame: main, at: '#tel-field' },
      { frame: main, at: '#email-field' },
      { frame: main, at: '#text-area' },
      { frame: main, at: '#shadow-host >>> #shadow-field' },
      { frame: main, at: '#mail-body' },
      { frame: main, at: '#plain-body' },
      { frame: main, at: '#shadow-host >>> #shadow-body' },
      { frame: editableFrame, at: '#frame-body' },
      { frame: writtenFrame, at: '#written-body' },
    ];
    for (const place of places) {
      const before = await shown(place.frame, place.at);
      await rightClick(place.frame, place.at);
      await selectMark(place.frame, place.at);
      const from = Date.now();
      const reply = await session.pick(FIXED.name, page, place.frame);
      const expected = await engineResults(engineResult, { kind: 'fixed', template: FIXED.text, from, to: Date.now() });
      assert.equal(reply.type, 'text', `${place.at}: ${JSON.stringify(reply)}`);
      assert.ok(expected.includes(reply.text), reply.text);
      const typed = before.includes(MARK) ? before.replace(MARK, reply.text) : before + reply.text;
      assert.equal(await shown(place.frame, place.at), typed, place.at);
      await page.keyboard.down('Control');
      await page.keyboard.press('z');
      await page.keyboard.up('Control');
      assert.equal(await shown(place.frame, place.at), before, `${place.at}: Ctrl+Z takes it back`);
      t.diagnostic(`${place.at}: typed and taken back`);
    }
    // A line break is the place's own: a new line in a text area and a
    // plain-text region, a new paragraph in a rich one, a blank in a
    // one-line field in both browsers; tabs stay where the place keeps
    // them.
    const lined = { name: '改行入り', kind: 'fixed', text: '一行目<\\N>二行目<\\T>タブ' };
    await world.addItem(lined);
    try {
      await session.waitForMenus((list) => list.some((entry) => entry.id === `orbisk-item:${lined.name}`));
      // A rich region's text: one line a paragraph, blanks where it keeps
      // no tab.
      const paragraphs = (text) => text.split(/\n+/).join('\n').replace(/[\t \u00a0]+/g, ' ');
      const lineCases = [
        { frame: main, at: '#text-area', shows: '前半一行目\n二行目\tタブ後半' },
        { frame: main, at: '#plain-body', shows: '前半一行目\n二行目\tタブ後半' },
        { frame: main, at: '#search-field', shows: '前半一行目 二行目\tタブ後半' },
        { frame: editableFrame, at: '#frame-body', shows: '前半一行目\n二行目 タブ後半', read: paragraphs },
        { frame: main, at: '#mail-body', shows: '宛先様\n前半一行目\n二行目 タブ後半', read: paragraphs },
      ];
      for (const c of lineCases) {
        const read = c.read ?? ((text) => text);
        const before = await shown(c.frame, c.at);
        await rightClick(c.frame, c.at);
        await selectMark(c.frame, c.at);
        const reply = await session.pick(lined.name, page, c.frame);
        assert.equal(reply.type, 'text', `${c.at}: ${JSON.stringify(reply)}`);
        const lines = read(await shown(c.frame, c.at));
        assert.equal(lines, c.shows, `${c.at}: the lines`);
        await page.keyboard.down('Control');
        await page.keyboard.press('z');
        await page.keyboard.up('Control');
        assert.equal(await shown(c.frame, c.at), before, `${c.at}: Ctrl+Z takes the lines back`);
      }

      // Where the page refuses typing, the text still arrives, with the
      // region's own line breaks: pasted where the page takes a paste of
      // plain text, as the page then got it, else set directly. A text of
      // several lines is offered as a paste first; one line only once the
      // command was refused, which a page can refuse in Firefox alone, as
      // Chromium's command sends no beforeinput.
      const refusals = [
        { at: '#refusing-body', item: FIXED, pasted: false },
        { at: '#refusing-body', item: lined, pasted: false },
        { at: '#paste-only-body', item: FIXED, pasted: family === 'firefox' },
        { at: '#paste-only-body', item: lined, pasted: true },
      ];
      for (const c of refusals) {
        await main.$eval(c.at, (el) => {
          el.textContent = '前半[選択]後半';
          el.dataset.inputs = '0';
          el.dataset.pastes = '[]';
        });
        await rightClick(main, c.at);
        await selectMark(main, c.at);
        const reply = await session.pick(c.item.name, page);
        assert.equal(reply.type, 'text', `${c.at}: ${JSON.stringify(reply)}`);
        const text = reply.text.replaceAll('\r\n', '\n');
        const what = `${c.at}, ${c.item.name}`;
        assert.equal(paragraphs(await shown(main, c.at)), paragraphs(`前半${text}後半`), `${what}: the text`);
        assert.deepEqual(JSON.parse(await main.$eval(c.at, (el) => el.dataset.pastes)), c.pasted ? [text] : [], `${what}: the pastes`);
        if (!c.pasted) assert.ok(Number(await main.$eval(c.at, (el) => el.dataset.inputs)) >= 1, `${what}: an input event`);
      }
      // A one-line field whose page refuses typing gets the break as a
      // blank too, the text cut to the field's 8 characters.
      await rightClick(main, '#refusing-field');
      await main.$eval('#refusing-field', (el, mark) => el.setSelectionRange(el.value.indexOf(mark), el.value.indexOf(mark) + mark.length), MARK);
      const reply = await session.pick(lined.name, page);
      assert.equal(reply.type, 'text', JSON.stringify(reply));
      assert.equal(await main.$eval('#refusing-field', (el) => el.value), '前半一行目 後半', 'the refusing field: a break is a blank');
    } finally {
      await world.deleteItem(lined.name);
    }

    // Where nothing can be typed, nothing happens and the host is not asked.
    for (const at of ['#readonly-field', '#disabled-field', '#island']) {
      const before = await shown(main, at);
      await rightClick(main, at);
      assert.deepEqual(await session.pick(FIXED.name, page), { type: 'ignored' }, at);
      assert.equal(await shown(main, at), before, at);
    }
  });

  it('types a fixed string once, where the user clicked, when the page moves the focus, pastes into blocks of its own, takes typing from textInput or sits in a sandboxed frame, and into a number input when it is a number', async () => {
    await page.goto(server.url('/editables.html'));
    const main = page.mainFrame();
    const sandboxedFrame = await waitFor('the sandboxed frame', () => page.frames().find((f) => f.url() === 'about:srcdoc'));
    await sandboxedFrame.waitForSelector('#sandboxed-area');
    const MARK = '[選択]';
    const BEFORE = '前半[選択]後半';
    const selectMark = (f, at) =>
      f.$eval(at, (el, mark) => {
        if (el.tagName === 'TEXTAREA') {
          el.setSelectionRange(el.value.indexOf(mark), el.value.indexOf(mark) + mark.length);
          return;
        }
        const range = document.createRange();
        range.setStart(el.firstChild, el.firstChild.data.indexOf(mark));
        range.setEnd(el.firstChild, el.firstChild.data.indexOf(mark) + mark.length);
        getSelection().removeAllRanges();
        getSelection().addRange(range);
      }, MARK);
    const lined = { name: '改行入り', kind: 'fixed', text: '一行目<\\N>二行目<\\T>タブ' };
    const digits = { name: '日付の数字', kind: 'fixed', text: '<Y4><M2><D2>' };
    await world.addItem(lined);
    await world.addItem(digits);
    try {
      await session.waitForMenus((list) => [lined, digits].every((fixed) => list.some((entry) => entry.id === `orbisk-item:${fixed.name}`)));

      // The browsers offer the entry over a number input too: a number goes
      // in as typed digits would; any other text leaves the field's number
      // as it was, and is no error.
      const numberValue = () => main.$eval('#number-field', (el) => el.value);
      await main.$eval('#number-field', (el) => {
        el.value = '';
      });
      await rightClick(main, '#number-field');
      let reply = await session.pick(digits.name, page);
      assert.equal(reply.type, 'text', JSON.stringify(reply));
      assert.match(reply.text, /^\d{8}$/);
      assert.equal(await numberValue(), reply.text, 'a number in a number input');
      await main.$eval('#number-field', (el) => {
        el.value = '12';
      });
      await rightClick(main, '#number-field');
      reply = await session.pick(FIXED.name, page);
      assert.equal(reply.type, 'text', JSON.stringify(reply));
      assert.equal(await numberValue(), '12', 'a text that is no number in a number input');

      // The page took the focus away on the click: the text goes at the end
      // of the region clicked, not at its start, nor where the focus went.
      await rightClick(main, '#focus-mover-body');
      reply = await session.pick(FIXED.name, page);
      assert.equal(reply.type, 'text', JSON.stringify(reply));
      assert.equal(await main.$eval('#focus-mover-body', (el) => el.textContent), BEFORE + reply.text, 'the region the focus left');
      assert.equal(await main.$eval('#focus-mover-field', (el) => el.value), '移った先', 'the field the focus went to');

      // A block editor takes the lines as a paste into new blocks, leaving
      // the block clicked as it was: they arrive once, as it made them.
      await rightClick(main, '#blocks .block');
      reply = await session.pick(lined.name, page);
      assert.equal(reply.type, 'text', JSON.stringify(reply));
      assert.deepEqual(await main.$$eval('#blocks .block', (all) => all.map((block) => block.textContent)), [BEFORE, ...reply.text.split('\r\n')]);

      // An editor that takes typing from textInput and redraws a moment
      // later keeps the text in its model, and then shows it.
      await rightClick(main, '#modelled-body');
      await selectMark(main, '#modelled-body');
      reply = await session.pick(FIXED.name, page);
      assert.equal(reply.type, 'text', JSON.stringify(reply));
      const typed = BEFORE.replace(MARK, reply.text);
      const modelled = () => main.$eval('#modelled-body', (el) => [el.dataset.model, el.textContent]);
      await waitFor('the text in the model and the region', async () => (await modelled()).every((text) => text === typed), 5000).catch(async () => {
        assert.deepEqual(await modelled(), [typed, typed]);
      });

      // A field whose page refuses typing gets the text set directly, with
      // an input event, cut to the field's maximum length as typing would.
      await rightClick(main, '#refusing-field');
      await main.$eval('#refusing-field', (el, mark) => el.setSelectionRange(el.value.indexOf(mark), el.value.indexOf(mark) + mark.length), MARK);
      reply = await session.pick(FIXED.name, page);
      assert.equal(reply.type, 'text', JSON.stringify(reply));
      assert.ok(reply.text.length > 4, reply.text);
      assert.equal(await main.$eval('#refusing-field', (el) => el.value), `前半${reply.text.slice(0, 4)}後半`, 'the refusing field');
      assert.ok(Number(await main.$eval('#refusing-field', (el) => el.dataset.inputs)) >= 1, 'the refusing field: an input event');
      // It heard the text offered as typing first, which it refused, in
      // either browser.
      assert.ok(Number(await main.$eval('#refusing-field', (el) => el.dataset.beforeinputs)) >= 1, 'the refusing field: a beforeinput event');

      // A sandboxed frame, of no origin of its own.
      await rightClick(sandboxedFrame, '#sandboxed-area');
      await selectMark(sandboxedFrame, '#sandboxed-area');
      reply = await session.pick(FIXED.name, page, sandboxedFrame);
      assert.equal(reply.type, 'text', JSON.stringify(reply));
      assert.equal(await sandboxedFrame.$eval('#sandboxed-area', (el) => el.value), BEFORE.replace(MARK, reply.text));
    } finally {
      await world.deleteItem(lined.name);
      await world.deleteItem(digits.name);
    }
  });

  it('types a fixed string into rich editors, into their own models, with line breaks, each pick one step of their undo', async (t) => {
    await page.goto(server.url('/editors.html'));
    const main = page.mainFrame();
    await main.waitForFunction(() => document.body.dataset.ready !== undefined, { timeout: 30000 });
    assert.equal(await main.evaluate(() => document.body.dataset.ready), 'yes');
    const tinyFrame = await (await main.$('#tiny_ifr')).contentFrame();
    const MARK = '[選択]';
    // Each editor's text as its own interface gives it, one line for each
    // of its paragraphs; the selection of MARK, or the caret at the end of
    // the text, made through it; whether its own undo has a step left.
    const editors = [
      {
        name: 'Quill',
        keepsTabs: true,
        frame: main,
        at: '#quill .ql-editor',
        text: () => main.evaluate(() => quill.getText().replace(/\n$/, '')),
        select: () => main.evaluate((mark) => quill.setSelection(quill.getText().indexOf(mark), mark.length), MARK),
        caretAtEnd: () => main.evaluate(() => quill.setSelection(quill.getLength() - 1, 0)),
        undoLeft: () => main.evaluate(() => quill.history.stack.undo.length > 0),
      },
      {
        name: 'TinyMCE',
        frame: tinyFrame,
        at: '#tinymce',
        text: () => main.evaluate(() => tiny.getContent({ format: 'text' }).replace(/\n+/g, '\n')),
        select: () =>
          main.evaluate((mark) => {
            const body = tiny.getBody();
            const walker = body.ownerDocument.createTreeWalker(body, NodeFilter.SHOW_TEXT);
            for (let node = walker.nextNode(); node; node = walker.nextNode()) {
              const i = node.data.indexOf(mark);
              if (i < 0) continue;
              const range = tiny.dom.createRng();
              range.setStart(node, i);
              range.setEnd(node, i + mark.length);
              tiny.selection.setRng(range);
              return;
            }
          }, MARK),
        caretAtEnd: () =>
          main.evaluate(() => {
            tiny.focus();
            tiny.selection.select(tiny.getBody(), true);
            tiny.selection.collapse(false);
          }),
        undoLeft: () => main.evaluate(() => tiny.undoManager.hasUndo()),
      },
      {
        name: 'CKEditor 5',
        frame: main,
        at: '#ck + .ck-editor .ck-editor__editable',
        text: () =>
          main.evaluate(() => {
            const body = new DOMParser().parseFromString(ck.getData(), 'text/html').body;
            for (const br of body.querySelectorAll('br')) br.replaceWith('\n');
            return [...body.children].map((p) => p.textContent).join('\n');
          }),
        select: () =>
          main.evaluate((mark) => {
            ck.editing.view.focus();
            ck.model.change((writer) => {
              for (const paragraph of ck.model.document.getRoot().getChildren()) {
                const text = [...paragraph.getChildren()].map((node) => node.data ?? '').join('');
                const i = text.indexOf(mark);
                if (i < 0) continue;
                writer.setSelection(writer.createRange(writer.createPositionAt(paragraph, i), writer.createPositionAt(paragraph, i + mark.length)));
                return;
              }
            });
          }, MARK),
        caretAtEnd: () =>
          main.evaluate(() => {
            ck.editing.view.focus();
            ck.model.change((writer) => {
              const root = ck.model.document.getRoot();
              writer.setSelection(writer.createPositionAt(root.getChild(root.childCount - 1), 'end'));
            });
          }),
        undoLeft: () => main.evaluate(() => ck.commands.get('undo').isEnabled),
      },
    ];
    const lined = { name: '改行入り', kind: 'fixed', text: '一行目<\\N>二行目<\\T>タブ' };
    await world.addItem(lined);
    try {
      await session.waitForMenus((list) => list.some((entry) => entry.id === `orbisk-item:${lined.name}`));
      // A line and lines, over the selection and at the caret at the end of
      // a line: there editors leave typing to the browser's editing command,
      // and Firefox's gives a break that an editor may not take.
      const cases = [FIXED, lined].flatMap((fixed) => [false, true].map((atEnd) => ({ fixed, atEnd })));
      for (const editor of editors) {
        for (const { fixed, atEnd } of cases) {
          const before = await editor.text();
          await rightClick(editor.frame, editor.at);
          await (atEnd ? editor.caretAtEnd() : editor.select());
          const what = `${editor.name}: ${fixed.name}${atEnd ? ' at the end' : ''}`;
          const from = Date.now();
          const reply = await session.pick(fixed.name, page, editor.frame);
          const expected = await engineResults(engineResult, { kind: 'fixed', template: fixed.text, from, to: Date.now() });
          assert.equal(reply.type, 'text', `${editor.name}: ${JSON.stringify(reply)}`);
          assert.ok(expected.includes(reply.text), reply.text);
          // CR LF is one line break, the editor's own. An editor that keeps
          // no tabs shows blanks for one.
          const blanks = (text) => (editor.keepsTabs ? text : text.replace(/[\t \u00a0]+/g, ' '));
          const text = reply.text.replaceAll('\r\n', '\n');
          const typed = blanks(atEnd ? before + text : before.replace(MARK, text));
          const typedNow = async () => blanks(await editor.text());
          await waitFor(`${what} in its model`, async () => (await typedNow()) === typed, 5000).catch(async () => {
            assert.equal(await typedNow(), typed, what);
          });
          // The README's picture of a fixed string in a rich editor.
          if (editor.name === 'CKEditor 5' && fixed === FIXED && !atEnd) {
            await (await main.$('.ck-editor')).screenshot({ path: path.join(work, 'fixed-string-in-editor.png') });
          }
          // One Ctrl+Z takes the pick back, lines and all, and leaves the
          // editor no step of it: the pick was one step of its undo, not one
          // a line, nor two alike (the input event that follows the
          // editing command, for editors that learn of typing from its keys,
          // adds none).
          await page.keyboard.down('Control');
          await page.keyboard.press('z');
          await page.keyboard.up('Control');
          await waitFor(`${what}: undone`, async () => (await editor.text()) === before, 5000).catch(async () => {
            assert.equal(await editor.text(), before, `${what}: one Ctrl+Z takes it back`);
          });
          assert.equal(await editor.undoLeft(), false, `${what}: a step of it left in the editor's undo`);
          t.diagnostic(`${what}: typed and taken back`);
        }
      }
    } finally {
      await world.deleteItem(lined.name);
    }
  });

  it('follows changes saved in Orbisk within a second, and reports a pick on a deleted item', async (t) => {
    const added = { name: '新しい項目', kind: 'launcher', application: winPath(apps['リンク']), template: '<AU>', contexts: { link: true } };
    const savedAt = Date.now();
    await world.addItem(added);
    await session.waitForMenus((list) => list.some((entry) => entry.id === 'orbisk-item:新しい項目'), 5000);
    const shownAfter = Date.now() - savedAt;
    t.diagnostic(`the new entry showed ${shownAfter} ms after Orbisk.exe began saving`);
    assert.ok(shownAfter < 1500, `the new entry showed ${shownAfter} ms after the save`);

    await page.goto(server.url('/index.html'));
    await rightClick(page.mainFrame(), '#plain-link');
    await world.deleteItem(added.name);
    const notificationsBefore = (await session.notificationIds()).length;
    const reply = await session.pick(added.name, page);
    assert.equal(reply.type, 'error');
    assert.ok(reply.message.length > 0);
    await session.waitForMenus((list) => !list.some((entry) => entry.id === 'orbisk-item:新しい項目'), 5000);
    assert.deepEqual((await session.pageNotices())[0], reply.message, 'the extension page lists it');
    if (family === 'chromium') {
      assert.equal((await session.notificationIds()).length, notificationsBefore + 1, 'a notification tells it');
    }
  });

  it('runs an item through Jotwell: a Japanese page title becomes a code page 932 line', async () => {
    const jotwell = world.installJotwell();
    const file = path.join(world.work, 'メモ', '追記.txt');
    fs.mkdirSync(path.dirname(file), { recursive: true });
    const jot = { name: 'メモに追記', kind: 'launcher', application: winPath(jotwell), template: `/s<TT> /o${winPath(file)}`, contexts: { page: true } };
    await world.addItem(jot);
    try {
      await session.waitForMenus((list) => list.some((entry) => entry.id === `orbisk-item:${jot.name}`));
      await page.goto(server.url('/index.html'));
      await rightClick(page.mainFrame(), '#blank');
      assert.deepEqual(await session.pick(jot.name, page), { type: 'started' });
      const bytes = await waitFor('the line in the text file', () => fs.existsSync(file) && fs.readFileSync(file).length > 0 && fs.readFileSync(file), 15000);
      const title = await page.title();
      assert.equal(title, 'オービスクの試験ページ');
      assert.equal(new TextDecoder('shift_jis').decode(bytes), `${title}\r\n`);
      assert.equal(bytes.length, title.length * 2 + 2, 'two bytes a character: code page 932, not UTF-8');
    } finally {
      await world.deleteItem(jot.name);
    }
  });

  it('hands hostile page data to the host, which answers without dying; program and folder stay the item\'s', async (t) => {
    const passThrough = { name: '素通し', app: '素通し', template: '<TT>|<ST>', contexts: { page: true, selection: true }, windowStyle: 1 };
    apps[passThrough.name] = world.installRecorder(passThrough.app);
    await world.addItem({ ...passThrough, kind: 'launcher', application: winPath(apps[passThrough.name]) });
    try {
      await session.waitForMenus((list) => list.some((entry) => entry.id === `orbisk-item:${passThrough.name}`));
      const quotedPath = `"${winPath(apps[passThrough.name])}" `;

      // Quotes, markup and tokens in a title reach the program as text.
      const markup = '"引用" \'single\' </script><script>alert(1)</script> <FU> <ST> & %s';
      await page.goto(server.page('/hostile-markup.html', `<!DOCTYPE html><meta charset="utf-8"><title>x</title><p id="p">本文</p><script>document.title = ${JSON.stringify(markup).replaceAll('<', '\\u003c')};</script>`));
      assert.equal(await page.title(), markup);
      const run = await pickAndRecord(passThrough, page.mainFrame(), '#p');
      await expectRecordMatchesEngine(passThrough, run, { topTitle: markup });

      // NUL and lone surrogates in the selection, and a selection of 1 MiB:
      // the host starts the item's program or refuses, and stays. A refusal
      // because the program could not start comes with the failure box. The
      // texts are made in the page: the protocol that drives the browser
      // would neither carry lone surrogates unchanged nor a megabyte quickly.
      // One preformatted line lays the megabyte out in seconds, not minutes.
      await page.goto(server.page('/hostile-wild.html', '<!DOCTYPE html><meta charset="utf-8"><title>x</title><p id="wild"></p><p id="lone"></p><div id="huge" style="white-space: pre; font-family: monospace"></div>'));
      await page.evaluate(() => {
        const c = String.fromCharCode;
        document.getElementById('wild').textContent = `A${c(0)}B${c(0xd800)}C`;
        document.getElementById('lone').textContent = `B${c(0xd800)}C${c(0xdfff)}D${c(0xdc00)}${c(0xd83d)}`;
        document.getElementById('huge').textContent = '長い選択 '.repeat(1 << 17); // 1 MiB of UTF-16
      });
      const hostStarts = world.hostStarts();
      for (const at of ['#wild', '#lone', '#huge']) {
        clearRecord(apps[passThrough.name]);
        await page.evaluate((at) => getSelection().selectAllChildren(document.querySelector(at)), at);
        await rightClick(page.mainFrame(), at);
        const stop = new AbortController();
        const boxes = world.watchBoxes(1, 20000, stop.signal);
        const started = Date.now();
        const reply = await session.pick(passThrough.name, page);
        t.diagnostic(`${at}: ${JSON.stringify(reply)} after ${Date.now() - started} ms`);
        if (at === '#lone') assert.equal(reply.type, 'started', 'halves of surrogate pairs reach the host as U+FFFD');
        if (reply.type === 'error' && reply.message === START_FAILED) {
          assert.deepEqual((await boxes).map((box) => box.text), [START_FAILED], at);
        } else {
          stop.abort();
          await boxes;
          assert.ok(['started', 'error'].includes(reply.type), at);
        }
        if (reply.type === 'started') {
          const record = await waitFor('the recorder', () => readRecord(apps[passThrough.name]), 15000);
          assert.ok(record.commandLine.startsWith(quotedPath), record.commandLine.slice(0, 200));
          assert.equal(record.folder, winPath(path.dirname(apps[passThrough.name])));
        }
      }
      // Still the same host, still answering.
      assert.equal(world.hostStarts(), hostStarts, 'the host never ended');
      await page.goto(server.url('/index.html'));
      const entry = item('ページ情報(&P)');
      const again = await pickAndRecord(entry, page.mainFrame(), '#blank');
      await expectRecordMatchesEngine(entry, again, await frameFacts(page.mainFrame()));
    } finally {
      await world.deleteItem(passThrough.name);
    }
  });

  it('the host answers escaped halves of surrogate pairs sent straight to it, and goes on answering', async (t) => {
    const caller = family === 'chromium' ? manifests.chromium.allowed_origins : [path.join(work, 'orbisk.host.json'), GECKO_ID];
    const host = startHost(world, caller);
    try {
      const entry = item('ページ情報(&P)');
      clearRecord(apps[entry.name]);
      const raw = `{"type":"pick","name":${JSON.stringify(entry.name)},"facts":{"topTitle":"A\\ud800B\\udc00C"}}`;
      const answer = await host.send(raw);
      t.diagnostic(`${raw} gets ${JSON.stringify(answer)}`);
      assert.ok(['started', 'error'].includes(answer.type), JSON.stringify(answer));
      if (answer.type === 'started') {
        const record = await waitFor('the recorder', () => readRecord(apps[entry.name]), 15000);
        assert.ok(record.commandLine.startsWith(`"${winPath(apps[entry.name])}" `));
      }
      assert.equal((await host.send({ type: 'list' }, true)).type, 'items');
    } finally {
      assert.equal(await host.stop(), 0);
    }
  });

  it('tells on its page how to register the host when it does not answer', async () => {
    const manifest = fs.readFileSync(session.hostManifestFile);
    fs.rmSync(session.hostManifestFile);
    try {
        const state = await session.pageState();
        assert.equal(state.checked, 'missing');
        assert.equal(state.state, 'OrbiskHost.exe が応答しません。登録されていないか、起動できません。');
        assert.equal(state.command, 'OrbiskHost.exe /register');
        assert.notEqual(state.detail, '');
    } finally {
      fs.writeFileSync(session.hostManifestFile, manifest);
    }
  });

  it('adds no listeners while it answers its page', async () => {
    const once = { onInstalled: 1, onMessage: 1 };
    assert.deepEqual(await session.callOrbisk('listenerCounts'), once);
    for (let i = 0; i < 3; ++i) await session.askStatus();
    await session.pageNotices();
    assert.deepEqual(await session.callOrbisk('listenerCounts'), once);
  });

  it('shows on its page that the host answers, with the number of items', async () => {
    const state = await session.pageState();
    assert.equal(state.checked, 'ok');
    assert.equal(state.state, 'OrbiskHost.exe は応答しています。');
    assert.equal(state.count, `Orbisk の項目は ${launcherItems().length + 1} 件です。`);
    assert.equal(state.command, 'OrbiskHost.exe /register');
  });

  // Last: afterwards the background is a new one.
  it('keeps its recent errors when the browser ends its idle background', async () => {
    await page.goto(server.url('/index.html'));
    await rightClick(page.mainFrame(), '#blank');
    const reply = await session.pick('どこにもない項目', page);
    assert.equal(reply.type, 'error');
    assert.equal((await session.pageNotices())[0], reply.message);
    if (family === 'chromium') {
      await session.inExtension(() => {
        globalThis.orbiskBeforeRestart = true;
      });
      await session.restartBackground();
      assert.equal(await session.inExtension(() => globalThis.orbiskBeforeRestart === undefined), true, 'a new service worker');
    }
    assert.equal((await session.pageNotices())[0], reply.message, 'the extension page still lists it');
    // Firefox keeps a background with an open native port loaded and offers
    // no way to unload it from outside; there the list is at least read back
    // from session storage, where a background keeps nothing of its own.
    const stored = await session.extensionPage.evaluate(async () =>
      (await (globalThis.browser ?? globalThis.chrome).storage.session.get('notices')).notices);
    assert.equal(stored[0].message, reply.message);
  });
});
