// How much the browser adds to a pick: the time from a pick to the item's
// program having started, through the extension in headless Chromium, against
// the same pick sent straight to a running OrbiskHost.exe. Median of 20 runs
// each, and their ratio.
//   node pick_bench.mjs --windows-build <dir> --work <dir>
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';

import { chromiumExtensionId, launchChromium, waitFor } from '../../tests/browser/lib/browsers.mjs';
import { startServer } from '../../tests/browser/lib/server.mjs';
import { WineWorld, clearRecord, readRecord, startHost, winPath } from '../../tests/browser/lib/wine.mjs';

const RUNS = 20;
const here = path.dirname(fileURLToPath(import.meta.url));
const repo = path.resolve(here, '..', '..');
const extensionDir = path.join(repo, 'bridge', 'extension');
const { values: options } = parseArgs({ options: { 'windows-build': { type: 'string' }, work: { type: 'string' } } });
const windowsBuild = path.resolve(options['windows-build']);
const work = path.resolve(options.work);
const world = new WineWorld({
  prefix: process.env.WINEPREFIX || path.join(windowsBuild, 'wine-bench-prefix'),
  windowsBuild,
  work: path.join(work, 'world'),
});

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return (sorted[(sorted.length - 1) >> 1] + sorted[sorted.length >> 1]) / 2;
};

// Waits for the recorder's record, polling finely: the figure is the time to it.
async function timeToRecord(exe, pick) {
  clearRecord(exe);
  const start = process.hrtime.bigint();
  const answer = pick();
  await waitFor('the recorder', () => readRecord(exe), 15000, 2);
  const elapsed = Number(process.hrtime.bigint() - start) / 1e6;
  await answer;
  return elapsed;
}

world.setUp();
const recorder = world.installRecorder('ベンチ');
const item = { name: 'ベンチ', kind: 'launcher', application: winPath(recorder), template: '<TT> <TU>', contexts: { page: true } };
await world.addItem(item);
const manifests = await world.register();
const server = await startServer();
const key = fs.readFileSync(path.join(extensionDir, 'key.txt'), 'utf8').trim();
const session = await launchChromium({
  extensionDir,
  extensionId: chromiumExtensionId(key),
  hostManifest: { ...manifests.chromium, path: world.hostWrapper },
  profileDir: path.join(work, 'profile'),
});
const page = await session.newPage();
await page.goto(server.url('/index.html'));
await session.waitForMenus((list) => list.length === 1);
await (await page.$('#blank')).click({ button: 'right' });
const facts = { topUrl: page.url(), topTitle: await page.title() };

const throughBrowser = [];
for (let i = 0; i <= RUNS; ++i) {
  const ms = await timeToRecord(recorder, () => session.pick(item.name, page));
  if (i > 0) throughBrowser.push(ms); // the first run warms up
}
await session.close();
await server.close();

const host = startHost(world, manifests.chromium.allowed_origins);
await host.send({ type: 'list' }, true);
const hostAlone = [];
for (let i = 0; i <= RUNS; ++i) {
  const ms = await timeToRecord(recorder, () => host.send({ type: 'pick', name: item.name, facts }));
  if (i > 0) hostAlone.push(ms);
}
await host.stop();

const browserMs = median(throughBrowser);
const hostMs = median(hostAlone);
console.log(`pick to program started, median of ${RUNS}:`);
console.log(`  through the extension in Chromium: ${browserMs.toFixed(1)} ms`);
console.log(`  straight to OrbiskHost.exe:        ${hostMs.toFixed(1)} ms`);
console.log(`  ratio: ${(browserMs / hostMs).toFixed(2)}`);
