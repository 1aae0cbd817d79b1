// How much the browser adds to a pick: the time from a pick to the item's
// program having started, through the extension in headless Chromium, against
// the same pick sent straight to a running OrbiskHost.exe, in turns, pair by
// pair; the median of each and of the pairs' ratios.
//   node pick_bench.mjs --windows-build <dir> --extension <dir> --engine-result <exe> --work <dir> [--smoke]
// The extension is the browser tests' copy of bridge/extension with their
// test hook (tests/browser/assemble_test_extension.cmake): a headless browser
// draws no menu, so the pick is the call a click on the entry makes. Every
// run is checked: the host answers "started" and the program got the line
// the substitution engine makes of the page's facts (--engine-result, the
// browser tests' tests/browser/native/engine_result.cpp). --smoke: one pair,
// for the test run. Ends with 1 when a run fails or comes out wrong.
import fs from 'node:fs';
import path from 'node:path';
import { parseArgs } from 'node:util';

import { chromiumExtensionId, launchChromium, waitFor } from '../../tests/browser/lib/browsers.mjs';
import { startServer } from '../../tests/browser/lib/server.mjs';
import { WineWorld, clearRecord, engineResults, readRecord, startHost, winPath } from '../../tests/browser/lib/wine.mjs';

const { values: options } = parseArgs({
  options: {
    'windows-build': { type: 'string' },
    extension: { type: 'string' },
    'engine-result': { type: 'string' },
    work: { type: 'string' },
    smoke: { type: 'boolean', default: false },
  },
});
for (const name of ['windows-build', 'extension', 'engine-result', 'work']) {
  if (!options[name]) {
    console.error(`pick_bench.mjs needs --${name}`);
    process.exit(2);
  }
}
const PAIRS = options.smoke ? 1 : 20;
const windowsBuild = path.resolve(options['windows-build']);
const extensionDir = path.resolve(options.extension);
const engineResult = path.resolve(options['engine-result']);
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

// The milliseconds from the pick to the recorder's record, polling finely,
// or null when the run failed or the program got another line than one of
// `expected` (the engine's lines for each second the pick may have read
// the clock in). Says why it failed.
async function timedPick(what, exe, pick, expected) {
  clearRecord(exe);
  const start = process.hrtime.bigint();
  const from = Date.now();
  // A failed pick is an answer too, looked at below.
  const answer = pick().catch((error) => ({ error: error.message }));
  let record;
  try {
    record = await waitFor(`${what}: the recorder`, () => readRecord(exe), 15000, 2);
  } catch (error) {
    const late = await Promise.race([answer, new Promise((resolve) => setTimeout(resolve, 5000, 'none yet'))]);
    console.log(`  wrong: ${error.message}; the answer: ${JSON.stringify(late)}`);
    return null;
  }
  const elapsed = Number(process.hrtime.bigint() - start) / 1e6;
  const reply = await answer;
  if (reply?.type !== 'started') {
    console.log(`  wrong: ${what}: the host answered ${JSON.stringify(reply)}`);
    return null;
  }
  const lines = await expected(from, Date.now());
  if (!lines.includes(record.commandLine)) {
    console.log(`  wrong: ${what}: the program got ${record.commandLine}\n         expected one of ${lines.join('\n         ')}`);
    return null;
  }
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
const host = startHost(world, manifests.chromium.allowed_origins);
const throughBrowser = [];
const hostAlone = [];
const ratios = [];
let failures = 0;
try {
  const page = await session.newPage();
  await page.goto(server.url('/index.html'));
  await session.waitForMenus((list) => list.length === 1);
  await (await page.$('#blank')).click({ button: 'right' });
  // What the page shows, read here from the page itself: the facts the
  // extension must gather and the host is sent.
  const facts = { topUrl: page.url(), topTitle: await page.title() };
  const expected = async (from, to) =>
    (await engineResults(engineResult, { template: item.template, facts, from, to }))
      .filter((args) => args !== null)
      .map((args) => `"${winPath(recorder)}" ${args}`)
      .filter((line, i, lines) => lines.indexOf(line) === i);
  await host.send({ type: 'list' }, true);

  // The first pair warms up, untimed but checked.
  for (let i = 0; i <= PAIRS; ++i) {
    const browserMs = await timedPick('through the extension', recorder, () => session.pick(item.name, page), expected);
    const hostMs = await timedPick('straight to the host', recorder, () => host.send({ type: 'pick', name: item.name, facts }), expected);
    failures += (browserMs === null) + (hostMs === null);
    if (i === 0 || browserMs === null || hostMs === null) continue;
    throughBrowser.push(browserMs);
    hostAlone.push(hostMs);
    ratios.push(browserMs / hostMs);
  }
} finally {
  await host.stop();
  await session.close();
  await server.close();
}

console.log(`pick to program started, ${PAIRS} pairs, in turns:`);
if (throughBrowser.length > 0) {
  console.log(`  through the extension in Chromium: median ${median(throughBrowser).toFixed(1)} ms`);
  console.log(`  straight to OrbiskHost.exe:        median ${median(hostAlone).toFixed(1)} ms`);
  console.log(`  ratio, median over the pairs: ${median(ratios).toFixed(2)}`);
}
if (failures > 0) {
  console.log(`FAILED: ${failures} runs failed or came out wrong; the figures mean nothing`);
  process.exitCode = 1;
}
