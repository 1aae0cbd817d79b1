// What a user does, end to end, in Chromium with a window: Orbisk installed
// under Wine, its extension loaded from the program folder, a right click
// with the real mouse on a link, Chromium's own context menu, the Orbisk
// submenu opened and one of its entries clicked; the item's program must
// then start with the link. A fixed string, picked by its access key in the
// same menu, is typed into each kind of editable place, rich editors
// included, and Ctrl+Z takes it back; over a read-only field the key picks
// nothing.
// With --browser firefox, the fixed string's cases run in Firefox ESR with a
// window instead, the extension loaded from the same folder.
//   node real_right_click.mjs [--browser chromium|firefox] --windows-build <dir> --extension <bridge/extension> --work <dir>
// The picture of the open menu is left in <work>/real-context-menu.png.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, it } from 'node:test';
import { parseArgs } from 'node:util';
import puppeteer from 'puppeteer-core';

import { HOST_NAME, chromiumExtensionId, waitFor } from './lib/browsers.mjs';
import { Desktop, startWindowedChromium } from './lib/desktop.mjs';
import { addItemsAsOrbisk, importItems, installOrbisk, registerForChromium } from './lib/install.mjs';
import { startServer } from './lib/server.mjs';
import { WineWorld, clearRecord, readRecord, startHost, winPath } from './lib/wine.mjs';

const { values: options } = parseArgs({
  options: {
    browser: { type: 'string', default: 'chromium' },
    'windows-build': { type: 'string' },
    extension: { type: 'string' },
    work: { type: 'string' },
  },
});
const windowsBuild = path.resolve(options['windows-build']);
const shippedExtension = path.resolve(options.extension);
const work = path.resolve(options.work);
const prefix = process.env.WINEPREFIX || path.join(windowsBuild, 'wine-test-prefix');
const picture = path.join(work, 'real-context-menu.png');
const family = options.browser;
assert.ok(['chromium', 'firefox'].includes(family), `no browser named ${family}`);

const SCREEN = { width: 1280, height: 900 };

// Two items over links, so that Chromium gathers them under one "Orbisk"
// submenu (a single entry it would show on the menu itself); each starts a
// recorder of its own, so the record tells which entry the click reached.
// The test picks the one the submenu lists last, so that the click has to
// find a row below the first.
const ITEMS = [
  { name: 'リンクを記録', app: '記録', template: '"<AU>"', args: (url) => `"${url}"` },
  { name: 'リンクを保存', app: '保存', template: 'save "<AU>"', args: (url) => `save "${url}"` },
];

// A fixed string over editable places, picked by its access key: the only
// entry of the extension there, so the browser shows it on the menu itself.
// Not Q: Firefox's own menu there has Q for its Inspect entry, and with two
// entries on one key the key only moves between them.
const FIXED = { name: '署名を入力(&J)', text: 'よろしくお願いします。<\\N>オービスク' };
const FIXED_LINES = ['よろしくお願いします。', 'オービスク'];

const world = new WineWorld({ prefix, windowsBuild, work: path.join(work, 'world'), programDir: path.join(work, 'Orbisk') });
const apps = {};
const RIGHT_CLICK_PAGE = `<!DOCTYPE html><html lang="ja"><head><meta charset="utf-8"><title>右クリックの試験</title>
<style>body { margin: 40px; font: 28px sans-serif; } a { display: inline-block; padding: 12px; }</style></head>
<body><p>このリンクを右クリックします:</p><p><a id="link" href="/target/%E8%A8%98%E9%8C%B2?a=1&amp;b=2">記録するリンク</a></p>
<div id="editable" contenteditable="true" style="border: 1px solid gray; width: 700px; min-height: 2em">宛先様へ</div></body></html>`;
let desktop;
let chromium;
let browser;
let server;
let tab;

before(async () => {
  fs.rmSync(work, { recursive: true, force: true });
  fs.mkdirSync(world.work, { recursive: true });
  fs.mkdirSync(world.appsDir, { recursive: true });
  const { extensionDir } = await installOrbisk(world);
  for (const item of ITEMS) apps[item.name] = world.installRecorder(item.app);
  await addItemsAsOrbisk(
    world,
    ITEMS.map((item) => ({
      name: item.name,
      kind: 'launcher',
      application: winPath(apps[item.name]),
      template: item.template,
      contexts: { link: true },
    })).concat([{ name: FIXED.name, kind: 'fixed', text: FIXED.text }]),
  );
  server = await startServer();
  const pageUrl = server.page('/right-click.html', RIGHT_CLICK_PAGE);
  desktop = await Desktop.start(SCREEN);
  const profileDir = path.join(work, 'profile');
  if (family === 'firefox') {
    // Firefox finds host manifests below the home folder; the manifest the
    // installed host wrote for it, run through the wrapper here.
    const manifests = await world.register();
    world.writeHostWrapper();
    const home = path.join(work, 'home');
    const hostsDir = path.join(home, '.mozilla', 'native-messaging-hosts');
    fs.mkdirSync(hostsDir, { recursive: true });
    fs.writeFileSync(path.join(hostsDir, `${HOST_NAME}.json`), JSON.stringify({ ...manifests.firefox, path: world.hostWrapper }));
    browser = await puppeteer.launch({
      browser: 'firefox',
      executablePath: '/usr/bin/firefox-esr',
      headless: false,
      defaultViewport: null,
      env: { ...desktop.env, HOME: home },
      args: [`--width=${SCREEN.width}`, `--height=${SCREEN.height}`],
      extraPrefsFirefox: { 'intl.accept_languages': 'ja' },
    });
    // An unsigned extension goes in for the session, from the program folder.
    await browser.installExtension(extensionDir);
    return;
  }
  await registerForChromium(world, profileDir);
  chromium = await startWindowedChromium(desktop, {
    profileDir,
    extensionDir,
    url: pageUrl,
    logFile: path.join(work, 'chromium.log'),
  });
  // The page's own size and layout stay Chromium's: no viewport is imposed.
  browser = await puppeteer.connect({ browserWSEndpoint: chromium.endpoint, defaultViewport: null });
});

after(async () => {
  if (browser && family === 'firefox') await browser.close().catch(() => {});
  else if (browser) await browser.disconnect().catch(() => {});
  if (chromium) await chromium.close();
  if (desktop) await desktop.close();
  if (server) await server.close();
});

// The entries the user sees in the submenu, in the order the host lists them.
async function linkEntriesInHostOrder(extensionId) {
  const host = startHost(world, [`chrome-extension://${extensionId}/`]);
  try {
    const answer = await host.send({ type: 'list' }, true);
    assert.equal(answer.type, 'items', JSON.stringify(answer));
    return answer.items.filter((item) => item.contexts.link).map((item) => item.name);
  } finally {
    await host.stop();
  }
}

// Whether every entry named is in Chromium's context menu by now: updating
// an entry with nothing fails for one that does not exist, and changes
// nothing otherwise.
function entriesExist(worker, names) {
  return worker.evaluate(
    (ids) =>
      Promise.all(
        ids.map((id) =>
          new Promise((resolve) => {
            chrome.contextMenus.update(id, {}, () => resolve(!chrome.runtime.lastError));
          }),
        ),
      ).then((found) => found.every(Boolean)),
    names.map((name) => `orbisk-item:${name}`),
  );
}

// Waits for a window shown since `before` whose place satisfies `where`
// (other windows may come and go meanwhile), and returns it with its place.
async function newWindow(before, what, where) {
  return waitFor(what, async () => {
    for (const id of await desktop.visibleWindows()) {
      if (before.includes(id)) continue;
      const box = await desktop.geometry(id).catch(() => null);
      if (box && where(box)) return { id, box };
    }
    return null;
  }, 10000);
}

if (family === 'chromium') it('starts the item picked in Chromium\'s own context menu with the right-clicked link', async () => {
  try {
    await rightClickAndPick();
  } catch (error) {
    // What the screen showed when it went wrong.
    const failure = path.join(work, 'failure.png');
    await desktop.screenshot(failure).catch(() => {});
    error.message += `\n(the screen then: ${failure})`;
    throw error;
  }
});

async function rightClickAndPick() {
  const shippedKey = fs.readFileSync(path.join(shippedExtension, 'key.txt'), 'utf8').trim();
  const extensionId = chromiumExtensionId(shippedKey);
  const order = await linkEntriesInHostOrder(extensionId);
  assert.deepEqual([...order].sort(), ITEMS.map((item) => item.name).sort());

  // The extension, loaded from the program folder, has built its entries
  // from what the installed host lists.
  const workerTarget = await browser.waitForTarget(
    (target) => target.type() === 'service_worker' && target.url().startsWith(`chrome-extension://${extensionId}/`),
    { timeout: 20000 },
  );
  const worker = await workerTarget.worker();
  await waitFor('Orbisk\'s entries in the menu', () => entriesExist(worker, order).catch(() => false), 20000);

  // On installation the extension opens its own page in front; the user
  // goes back to the page with the link.
  await browser.waitForTarget((target) => target.url() === `chrome-extension://${extensionId}/options.html`, { timeout: 20000 });
  const pageTarget = await browser.waitForTarget((target) => target.type() === 'page' && target.url().endsWith('/right-click.html'));
  const page = await pageTarget.page();
  await page.bringToFront();
  await page.waitForFunction(() => document.visibilityState === 'visible', { timeout: 10000 });
  const href = await page.$eval('#link', (a) => a.href);

  // The link's middle on the screen: the window's place, the browser's own
  // bars above the page, and the link's place in the page.
  const point = await page.$eval('#link', (a) => {
    const box = a.getBoundingClientRect();
    return {
      x: Math.round(window.screenX + (window.outerWidth - window.innerWidth) / 2 + box.left + box.width / 2),
      y: Math.round(window.screenY + (window.outerHeight - window.innerHeight) + box.top + box.height / 2),
    };
  });
  await desktop.xdotool('mousemove', point.x, point.y);
  // The page itself says the pointer is over the link.
  await page.waitForFunction(() => document.getElementById('link').matches(':hover'), { timeout: 10000, polling: 50 });

  for (const item of ITEMS) clearRecord(apps[item.name]);
  const beforeMenu = await desktop.visibleWindows();
  await desktop.xdotool('click', '3');
  // The menu opens with its corner at the pointer.
  const { id: menu, box: menuBox } = await newWindow(
    beforeMenu,
    'Chromium\'s context menu',
    (box) => Math.abs(box.x - point.x) <= 2 && Math.abs(box.y - point.y) <= 2,
  );

  // From the keyboard: with nothing chosen yet, Up chooses the menu's last
  // entry (the developer tools'), and a second Up the extension's submenu,
  // which Chromium puts right above it; Right opens it.
  await desktop.xdotool('key', 'Up', 'Up', 'Right');
  // A submenu opens beside its parent, level with the entry it belongs to.
  const { id: submenu, box } = await newWindow(
    [...beforeMenu, menu],
    'the Orbisk submenu',
    (candidate) =>
      candidate.x >= menuBox.x + menuBox.width - 8 &&
      candidate.y > menuBox.y &&
      candidate.y < menuBox.y + menuBox.height,
  );

  // The submenu lists the entries one below the other, evenly: the picked
  // one's row is its share of the height.
  const rows = order.length;
  const index = rows - 1;
  const picked = ITEMS.find((item) => item.name === order[index]);
  const rowY = (i) => Math.round((box.height * (2 * i + 1)) / (2 * rows));
  await desktop.xdotool('mousemove', box.x + Math.round(box.width / 2), box.y + rowY(index));
  // Chromium marks the entry under the pointer with a shaded row: the
  // picked row's right end, beyond its text, turns from the menu's own
  // background (its top margin) to the shade, while the other rows stay.
  const edge = box.width - 4;
  await waitFor('the entry under the pointer to be marked', async () => {
    const pixel = await desktop.pixels(box);
    const background = pixel(Math.round(box.width / 2), 1).join();
    const marked = pixel(edge, rowY(index)).join() !== background;
    const othersPlain = order.every((_, i) => i === index || pixel(edge, rowY(i)).join() === background);
    return marked && othersPlain;
  });
  await desktop.screenshot(picture);

  await desktop.xdotool('click', '1');
  const exe = apps[picked.name];
  const record = await waitFor(`${picked.name}'s program`, () => readRecord(exe), 20000);
  assert.equal(record.commandLine, `"${winPath(exe)}" ${picked.args(href)}`);
  assert.equal(record.folder, winPath(path.dirname(exe)));
  // The menu has closed, and the other entry started nothing.
  await waitFor('the menu to close', async () => {
    const shown = await desktop.visibleWindows();
    return !shown.includes(menu) && !shown.includes(submenu);
  });
  for (const item of ITEMS) {
    if (item !== picked) assert.equal(readRecord(apps[item.name]), null, `${item.name} was started too`);
  }
}

// The places a fixed string is typed into with the real mouse and keyboard,
// each on the page it lives on: the test's own page, the editable places'
// page and the rich editors' page, loaded in turn in the same tab. `frame`
// finds the frame the place is in (the top one if none); `text` reads the
// place back as the place itself keeps it, an editor through its own
// interface, since a text only in its DOM may be thrown away at its next
// render. A one-line field shows the break as a blank, by Chromium's rule.
// One Ctrl+Z takes a pick back, all its lines at once: an editor's
// `undoLeft` tells whether its own undo has a step left after it, which it
// must not, as the pick is to be one step, not one a line or two alike.
const fieldValue = (page, frame, at) => frame.$eval(at, (el) => el.value);
const shownText = (page, frame, at) => frame.$eval(at, (el) => el.innerText);
const PLACES = [
  { name: 'a contenteditable region', page: '/right-click.html', at: '#editable', text: shownText },
  { name: 'a text area', page: '/editables.html', at: '#text-area', text: fieldValue },
  { name: 'a tel input', page: '/editables.html', at: '#tel-field', text: fieldValue, oneLine: true },
  { name: 'an input in an open shadow root', page: '/editables.html', at: '#shadow-host >>> #shadow-field', text: fieldValue, oneLine: true },
  {
    name: 'the editable body of a same-origin frame',
    page: '/editables.html',
    frame: (page) => page.frames().find((frame) => frame.url().endsWith('/editable-frame.html')),
    at: '#frame-body',
    text: shownText,
  },
  {
    name: 'a text area in a sandboxed frame, of no origin of its own',
    page: '/editables.html',
    frame: (page) => page.frames().find((frame) => frame.url() === 'about:srcdoc'),
    at: '#sandboxed-area',
    text: fieldValue,
  },
  {
    name: 'Quill',
    page: '/editors.html',
    at: '#quill .ql-editor',
    text: (page) => page.evaluate(() => quill.getText()),
    undoLeft: (page) => page.evaluate(() => quill.history.stack.undo.length > 0),
  },
  {
    name: 'TinyMCE, in its frame',
    page: '/editors.html',
    frame: async (page) => (await page.$('#tiny_ifr')).contentFrame(),
    at: '#tinymce',
    text: (page) => page.evaluate(() => tiny.getContent({ format: 'text' })),
    undoLeft: (page) => page.evaluate(() => tiny.undoManager.hasUndo()),
  },
  {
    name: 'CKEditor 5',
    page: '/editors.html',
    at: '#ck + .ck-editor .ck-editor__editable',
    text: (page) =>
      page.evaluate(() => {
        const body = new DOMParser().parseFromString(ck.getData(), 'text/html').body;
        for (const br of body.querySelectorAll('br')) br.replaceWith('\n');
        return [...body.children].map((p) => p.textContent).join('\n');
      }),
    undoLeft: (page) => page.evaluate(() => ck.commands.get('undo').isEnabled),
  },
  {
    // The right click reaches its drawn line; the menu is the hidden text
    // area's, which it moves under the pointer then.
    name: 'a code editor that types through a hidden text area',
    page: '/editors.html',
    at: '#code .CodeMirror',
    text: (page) => page.evaluate(() => code.getValue()),
    undoLeft: (page) => page.evaluate(() => code.historySize().undo > 0),
  },
];

// A text's non-empty lines: paragraphs and line breaks alike.
const linesOf = (text) => text.split(/\n+/).filter(Boolean);

async function pageWith(pathname) {
  if (!tab) {
    if (family === 'firefox') {
      tab = await browser.newPage();
    } else {
      const pageTarget = await browser.waitForTarget((target) => target.type() === 'page' && /^http:/.test(target.url()));
      tab = await pageTarget.page();
    }
  }
  const page = tab;
  await page.bringToFront();
  if (new URL(page.url()).pathname !== pathname) await page.goto(server.url(pathname));
  await page.waitForFunction(() => document.visibilityState === 'visible', { timeout: 10000 });
  if (pathname === '/editors.html') {
    await page.waitForFunction(() => document.body.dataset.ready !== undefined, { timeout: 30000 });
    assert.equal(await page.evaluate(() => document.body.dataset.ready), 'yes');
  }
  return page;
}

// A point of the element on the screen: near its right end and its bottom,
// past its text and clear of a text area's resize corner. The element's
// place in its frame, each frame's place in the one above it (inside its
// border), and the window's place with the browser's own bars above the page.
async function screenPointOf(page, frame, element) {
  const point = await element.evaluate((el) => {
    const box = el.getBoundingClientRect();
    return { x: box.right - 30, y: box.bottom - Math.min(10, box.height / 2) };
  });
  for (let inner = frame; inner.parentFrame(); inner = inner.parentFrame()) {
    const offset = await (await inner.frameElement()).evaluate((el) => {
      const box = el.getBoundingClientRect();
      return { x: box.left + el.clientLeft, y: box.top + el.clientTop };
    });
    point.x += offset.x;
    point.y += offset.y;
  }
  // Firefox says where the page's own area is on the screen.
  const view = await page.evaluate(() =>
    typeof window.mozInnerScreenX === 'number'
      ? { x: window.mozInnerScreenX, y: window.mozInnerScreenY }
      : { x: window.screenX + (window.outerWidth - window.innerWidth) / 2, y: window.screenY + (window.outerHeight - window.innerHeight) },
  );
  return { x: Math.round(view.x + point.x), y: Math.round(view.y + point.y) };
}

// The user points at the place and clicks into it with the left button, so
// that the caret stands at the end of its text, then opens Chromium's
// context menu there with the right button. Returns the menu's window.
async function pointClickAndOpenMenu(page, frame, element) {
  const point = await screenPointOf(page, frame, element);
  await desktop.xdotool('mousemove', point.x, point.y);
  await waitFor('the pointer over the place', () => element.evaluate((el) => el.matches(':hover')), 10000);
  await desktop.xdotool('click', '1');
  await waitFor('the focus in the place', () =>
    element.evaluate((el) => {
      const active = el.getRootNode().activeElement;
      return el.ownerDocument.hasFocus() && !!active && (active === el || el.contains(active));
    }),
  );
  const beforeMenu = await desktop.visibleWindows();
  await desktop.xdotool('click', '3');
  // The menu opens beside the pointer, with a side of it at the pointer;
  // low on the screen, Chromium lifts it so that it fits, so it may reach
  // above the pointer too.
  const { id } = await newWindow(
    beforeMenu,
    'the browser\'s context menu',
    (box) =>
      box.width > 1 &&
      (Math.abs(box.x - point.x) <= 3 || Math.abs(box.x + box.width - point.x) <= 3) &&
      box.y - 3 <= point.y &&
      point.y <= box.y + box.height + 3,
  );
  return id;
}

async function withScreenOnFailure(name, run) {
  try {
    await run();
  } catch (error) {
    const failure = path.join(work, `failure-${name}.png`);
    await desktop.screenshot(failure).catch(() => {});
    error.message += `\n(the screen then: ${failure})`;
    // A menu left open would take the next case's keys.
    await desktop.xdotool('key', 'Escape').catch(() => {});
    throw error;
  }
}

let fixedEntryShown = false;
async function waitForFixedEntry() {
  if (fixedEntryShown) return;
  if (family === 'firefox') {
    // The extension's own page can ask its menus whether the entry is there.
    const extensionPage = await extensionPageOf();
    assert.ok(extensionPage, 'the extension\'s page among the tabs');
    await waitFor('the fixed string\'s entry in the menu', () =>
      extensionPage
        .evaluate((id) => browser.contextMenus.update(id, {}).then(() => true, () => false), `orbisk-item:${FIXED.name}`)
        .catch(() => false), 20000);
    fixedEntryShown = true;
    return;
  }
  const extensionId = chromiumExtensionId(fs.readFileSync(path.join(shippedExtension, 'key.txt'), 'utf8').trim());
  const workerTarget = await browser.waitForTarget(
    (target) => target.type() === 'service_worker' && target.url().startsWith(`chrome-extension://${extensionId}/`),
    { timeout: 20000 },
  );
  const worker = await workerTarget.worker();
  await waitFor('the fixed string\'s entry in the menu', () => entriesExist(worker, [FIXED.name]).catch(() => false), 20000);
  fixedEntryShown = true;
}

for (const [index, place] of PLACES.entries()) {
  it(`types a fixed string into ${place.name}, picked in the browser's own context menu by its access key, and one Ctrl+Z takes it back`, () =>
    withScreenOnFailure(`fixed-${index}`, async () => {
      await waitForFixedEntry();
      const page = await pageWith(place.page);
      const frame = place.frame ? await place.frame(page) : page.mainFrame();
      assert.ok(frame, `the frame of ${place.name}`);
      const element = await frame.waitForSelector(place.at);
      // Places low on the page are brought into the window first, as the
      // user would scroll to them; the frames above them stay in view.
      const intoView = (el) => {
        if (el.getBoundingClientRect().bottom > innerHeight) el.scrollIntoView({ block: 'end' });
      };
      await element.evaluate(intoView);
      for (let inner = frame; inner.parentFrame(); inner = inner.parentFrame()) await (await inner.frameElement()).evaluate(intoView);
      const text = () => place.text(page, frame, place.at);
      const before = await text();
      // The text goes at the end, where the click put the caret.
      const typed = place.oneLine
        ? [before + FIXED_LINES.join(' ')]
        : [...linesOf(before).slice(0, -1), linesOf(before).at(-1) + FIXED_LINES[0], ...FIXED_LINES.slice(1)];
      const read = async () => (place.oneLine ? [await text()] : linesOf(await text()));

      const menu = await pointClickAndOpenMenu(page, frame, element);
      // "&J" in the item's name is its access key, as in the old browser.
      await desktop.xdotool('key', 'j');
      await waitFor(`the fixed string in ${place.name}`, async () => JSON.stringify(await read()) === JSON.stringify(typed), 15000).catch(async () => {
        assert.deepEqual(await read(), typed);
      });
      await waitFor('the menu to close', async () => !(await desktop.visibleWindows()).includes(menu));
      // One Ctrl+Z, typed by the user, takes it back.
      await desktop.xdotool('key', 'ctrl+z');
      await waitFor('the text as it was', async () => (await text()) === before, 10000).catch(async () => {
        assert.equal(await text(), before);
      });
      if (place.undoLeft) assert.equal(await place.undoLeft(page), false, `${place.name} keeps an undo step of the pick`);
    }));
}

it('offers no fixed string over a read-only input: its access key picks nothing there and the field stays as it was', () =>
  withScreenOnFailure('readonly', async () => {
    await waitForFixedEntry();
    const page = await pageWith('/editables.html');
    const element = await page.waitForSelector('#readonly-field');
    const before = await element.evaluate((el) => el.value);
    // The keys the page itself gets; while the menu is open, it gets none.
    await element.evaluate((el) => {
      el.dataset.keys = '';
      el.addEventListener('keydown', (event) => {
        el.dataset.keys += `${event.key} `;
      });
    });
    const menu = await pointClickAndOpenMenu(page, page.mainFrame(), element);
    // J, then Escape. Had J picked an entry, the menu would have closed with
    // it and the page would get the Escape; as nothing has J for its access
    // key there, the menu is still open and takes the Escape to close.
    await desktop.xdotool('key', 'j', 'Escape');
    await waitFor('the menu to close', async () => !(await desktop.visibleWindows()).includes(menu));
    // A key after the menu has gone reaches the page behind all the others.
    await desktop.xdotool('key', 'End');
    await waitFor('the page to get the key after the menu', () => element.evaluate((el) => el.dataset.keys.includes('End')));
    assert.equal(await element.evaluate((el) => el.dataset.keys), 'End ', 'the keys the page got');
    assert.equal(await element.evaluate((el) => el.value), before);
  }));

// The extension's own page: opened by the extension on installation, in a
// tab of its own.
async function extensionPageOf() {
  if (family === 'firefox') {
    // Puppeteer may still know that tab by its first address; it is found
    // through the browsing contexts.
    const context = await waitFor('the extension\'s page', async () => {
      const tree = await browser.connection.send('browsingContext.getTree', {});
      return tree.result.contexts.find((candidate) => candidate.url.startsWith('moz-extension://'))?.context;
    }, 20000);
    return (await browser.pages()).find((page) => page.mainFrame()._id === context);
  }
  const extensionId = chromiumExtensionId(fs.readFileSync(path.join(shippedExtension, 'key.txt'), 'utf8').trim());
  const target = await browser.waitForTarget((candidate) => candidate.url() === `chrome-extension://${extensionId}/options.html`, { timeout: 20000 });
  return target.page();
}

// Items imported into the catalogue while the browser runs, from a file, as
// a user or an administrator's script imports them: one over pages, one
// fixed string.
// Named for the browser: the two runs install Orbisk into folders of their
// own under one Windows user, whose menu entries each run's import would
// otherwise find registered by the other Orbisk, and leave alone.
const IMPORTED = [
  { name: `取り込んだページ (${family})`, app: '取り込み', template: '"<TU>"' },
  { name: `取り込んだ定型文 (${family})`, text: '取り込み済み' },
];

it('shows on its own page the number of items, and the new number once items are imported, with no restart and no new check', () =>
  withScreenOnFailure('imported', async () => {
    await waitForFixedEntry();
    const page = await extensionPageOf();
    assert.ok(page, 'the extension\'s page among the tabs');
    // Asked again and again: Firefox ESR runs no waitForFunction in an
    // extension's page.
    const count = () => page.evaluate(() => {
      const line = document.getElementById('count');
      return line.hidden ? '' : line.textContent;
    });
    const shows = async (items) => {
      const expected = `Orbisk の項目は ${items} 件です。`;
      await waitFor(`the page to show ${items} items`, async () => (await count()) === expected, 15000).catch(async () => {
        assert.equal(await count(), expected);
      });
    };
    await shows(ITEMS.length + 1);
    // Gone if the page were loaded again; its "再確認" is not pressed.
    await page.evaluate(() => {
      globalThis.orbiskSamePage = true;
    });
    const imported = IMPORTED.map((item) =>
      item.text === undefined
        ? { name: item.name, kind: 'launcher', application: winPath(world.installRecorder(item.app)), template: item.template, contexts: { page: true } }
        : { name: item.name, kind: 'fixed', text: item.text },
    );
    const report = await importItems(world, imported);
    assert.equal(report.at(-1), `インポート: 追加 ${IMPORTED.length} 件、置き換え 0 件、スキップ 0 件、登録できず 0 件`);
    await shows(ITEMS.length + 1 + IMPORTED.length);
    assert.equal(await page.evaluate(() => globalThis.orbiskSamePage), true, 'the same page, not loaded again');
  }));
