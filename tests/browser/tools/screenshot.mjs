// Takes the picture of the extension's own page for the README: Chromium on
// the virtual screen, the extension loaded, the real OrbiskHost.exe under
// Wine answering with a few items.
//   node screenshot.mjs --windows-build <dir> --work <dir> --out <png>
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';
import puppeteer from 'puppeteer-core';

import { HOST_NAME, chromiumExtensionId, waitFor } from '../lib/browsers.mjs';
import { WineWorld, winPath } from '../lib/wine.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const extensionDir = path.resolve(here, '..', '..', '..', 'bridge', 'extension');
const { values: options } = parseArgs({
  options: { 'windows-build': { type: 'string' }, work: { type: 'string' }, out: { type: 'string' } },
});
const work = path.resolve(options.work);
const world = new WineWorld({
  prefix: process.env.WINEPREFIX,
  windowsBuild: path.resolve(options['windows-build']),
  work: path.join(work, 'world'),
});

world.setUp();
const tools = 'C:\\Tools\\';
for (const [name, application, template, contexts] of [
  ['ページをメモに追記', `${tools}Jotwell.exe`, '/s<TT> <TU> /oC:\\メモ.txt', { page: true }],
  ['リンク先を保存して開く', `${tools}Fetchbay.exe`, '<AU> C:\\Tools\\viewer.exe', { link: true }],
  ['選択した文字列をコピー', `${tools}Clipsy.exe`, '<ST>', { selection: true }],
]) {
  await world.addItem({ name, kind: 'launcher', application, template, contexts });
}
await world.addItem({ name: '今日の日付を入力', kind: 'fixed', text: '<Y4>年<M1>月<D1>日' });
const manifests = await world.register();

const extensionId = chromiumExtensionId(fs.readFileSync(path.join(extensionDir, 'key.txt'), 'utf8').trim());
const profileDir = path.join(work, 'profile');
fs.mkdirSync(path.join(profileDir, 'NativeMessagingHosts'), { recursive: true });
fs.writeFileSync(
  path.join(profileDir, 'NativeMessagingHosts', `${HOST_NAME}.json`),
  JSON.stringify({ ...manifests.chromium, path: world.hostWrapper }),
);
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: false,
  pipe: true,
  enableExtensions: [extensionDir],
  defaultViewport: { width: 800, height: 640 },
  args: ['--no-sandbox', `--user-data-dir=${profileDir}`, '--lang=ja', '--window-size=800,640'],
});
try {
  const target = await browser.waitForTarget(
    (t) => t.type() === 'page' && t.url() === `chrome-extension://${extensionId}/options.html`,
    { timeout: 20000 },
  );
  const page = await target.page();
  await page.bringToFront();
  await waitFor('the host to answer', () => page.evaluate(() => document.body.dataset.checked === 'ok'), 30000);
  await page.screenshot({ path: path.resolve(options.out) });
} finally {
  await browser.close();
}
console.log(path.resolve(options.out));
