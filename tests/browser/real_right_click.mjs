// What a user does, end to end, in Chromium with a window: Orbisk installed
// under Wine, its extension loaded from the program folder, a right click
// with the real mouse on a link, Chromium's own context menu, the Orbisk
// submenu opened and one of its entries clicked; the item's program must
// then start with the link.
//   node real_right_click.mjs --windows-build <dir> --extension <bridge/extension> --work <dir>
// The picture of the open menu is left in <work>/real-context-menu.png.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, it } from 'node:test';
import { parseArgs } from 'node:util';
import puppeteer from 'puppeteer-core';

import { chromiumExtensionId, waitFor } from './lib/browsers.mjs';
import { Desktop, startWindowedChromium } from './lib/desktop.mjs';
import { addItemsAsOrbisk, installOrbisk, registerForChromium } from './lib/install.mjs';
import { startServer } from './lib/server.mjs';
import { WineWorld, clearRecord, readRecord, startHost, winPath } from './lib/wine.mjs';

const { values: options } = parseArgs({
  options: {
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

// A fixed string over an editable region, picked by its access key: the
// only entry of the extension there, so Chromium shows it on the menu itself.
const FIXED = { name: '署名を入力(&Q)', text: 'よろしくお願いします。<\\N>オービスク' };
const TYPED_LINES = ['宛先様へよろしくお願いします。', 'オービスク'];

const world = new WineWorld({ prefix, windowsBuild, work: path.join(work, 'world'), programDir: path.join(work, 'Orbisk') });
const apps = {};
let desktop;
let chromium;
let browser;
let server;

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
  const profileDir = path.join(work, 'profile');
  await registerForChromium(world, profileDir);

  server = await startServer();
  const pageUrl = server.page(
    '/right-click.html',
    `<!DOCTYPE html><html lang="ja"><head><meta charset="utf-8"><title>右クリックの試験</title>
<style>body { margin: 40px; font: 28px sans-serif; } a { display: inline-block; padding: 12px; }</style></head>
<body><p>このリンクを右クリックします:</p><p><a id="link" href="/target/%E8%A8%98%E9%8C%B2?a=1&amp;b=2">記録するリンク</a></p>
<div id="editable" contenteditable="true" style="border: 1px solid gray; width: 700px; min-height: 2em">宛先様へ</div></body></html>`,
  );
  desktop = await Desktop.start(SCREEN);
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
  if (browser) await browser.disconnect().catch(() => {});
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

it('starts the item picked in Chromium\'s own context menu with the right-clicked link', async () => {
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

it('types a fixed string into an editable region, picked in Chromium\'s own context menu by its access key', async () => {
  try {
    await rightClickAndType();
  } catch (error) {
    const failure = path.join(work, 'failure-fixed.png');
    await desktop.screenshot(failure).catch(() => {});
    error.message += `\n(the screen then: ${failure})`;
    throw error;
  }
});

async function rightClickAndType() {
  const shippedKey = fs.readFileSync(path.join(shippedExtension, 'key.txt'), 'utf8').trim();
  const extensionId = chromiumExtensionId(shippedKey);
  const workerTarget = await browser.waitForTarget(
    (target) => target.type() === 'service_worker' && target.url().startsWith(`chrome-extension://${extensionId}/`),
    { timeout: 20000 },
  );
  const worker = await workerTarget.worker();
  await waitFor('the fixed string\'s entry in the menu', () => entriesExist(worker, [FIXED.name]).catch(() => false), 20000);
  const pageTarget = await browser.waitForTarget((target) => target.type() === 'page' && target.url().endsWith('/right-click.html'));
  const page = await pageTarget.page();
  await page.bringToFront();
  await page.waitForFunction(() => document.visibilityState === 'visible', { timeout: 10000 });
  const text = () => page.$eval('#editable', (div) => div.innerText.split(/\n+/).filter(Boolean));
  const before = await text();

  // Near the region's right end, past its text: the right click puts the
  // caret at the end of the text.
  const point = await page.$eval('#editable', (div) => {
    const box = div.getBoundingClientRect();
    return {
      x: Math.round(window.screenX + (window.outerWidth - window.innerWidth) / 2 + box.right - 20),
      y: Math.round(window.screenY + (window.outerHeight - window.innerHeight) + box.top + box.height / 2),
    };
  });
  await desktop.xdotool('mousemove', point.x, point.y);
  await page.waitForFunction(() => document.getElementById('editable').matches(':hover'), { timeout: 10000, polling: 50 });
  const beforeMenu = await desktop.visibleWindows();
  await desktop.xdotool('click', '3');
  const { id: menu } = await newWindow(
    beforeMenu,
    'Chromium\'s context menu',
    (box) => Math.abs(box.x - point.x) <= 2 && Math.abs(box.y - point.y) <= 2,
  );
  // "&Q" in the item's name is its access key, as in the old browser.
  await desktop.xdotool('key', 'q');
  await waitFor('the fixed string in the region', async () => JSON.stringify(await text()) === JSON.stringify(TYPED_LINES), 15000).catch(async () => {
    assert.deepEqual(await text(), TYPED_LINES);
  });
  await waitFor('the menu to close', async () => !(await desktop.visibleWindows()).includes(menu));
  // Ctrl+Z, typed by the user, takes it back.
  await desktop.xdotool('key', 'ctrl+z');
  await waitFor('the text as it was', async () => JSON.stringify(await text()) === JSON.stringify(before), 10000).catch(async () => {
    assert.deepEqual(await text(), before);
  });
}
