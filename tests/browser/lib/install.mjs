// Orbisk installed as a user installs it, with its installer: a program
// folder with Orbisk.exe, OrbiskHost.exe, the launchers and the extension
// folder the user loads into the browser, and the host registered. Everything a test does after
// installOrbisk() sees only that folder, so the way the folder comes about
// can change without touching the test.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

import { HOST_NAME } from './browsers.mjs';
import { winPath } from './wine.mjs';

// The installer the Windows build made (Orbisk-<version>-setup.exe).
function installerOf(world) {
  const folder = world.buildFile('packaging');
  const name = fs.readdirSync(folder).find((file) => /^Orbisk-.*-setup\.exe$/.test(file));
  if (!name) throw new Error(`no installer in ${folder}`);
  return path.join(folder, name);
}

// Installs Orbisk into world.programDir, which must not exist yet or is
// replaced, with the installer run silently under Wine as a user would run
// it, and returns the installed extension folder.
export async function installOrbisk(world) {
  fs.rmSync(world.programDir, { recursive: true, force: true });
  // /D= comes last and unquoted, as NSIS wants it.
  const code = await world.run(installerOf(world), ['/S', `/D=${winPath(world.programDir)}`], { cwd: world.work });
  if (code !== 0) throw new Error(`the installer ended with ${code}`);
  const extensionDir = path.join(world.programDir, 'extension');
  for (const file of ['Orbisk.exe', 'OrbiskHost.exe', 'extension/manifest.json']) {
    if (!fs.existsSync(path.join(world.programDir, file))) throw new Error(`the installer put no ${file} in place`);
  }
  return { extensionDir };
}

// What `OrbiskHost.exe /register` does for Chromium on Windows, done for
// Chromium here: the host writes its manifests beside itself, and this
// Chromium finds the one meant for it in <user-data-dir>/NativeMessagingHosts/
// instead of through the registry. Its `path` is the wrapper that runs the
// installed host under Wine. Returns the manifest as placed.
export async function registerForChromium(world, profileDir) {
  const manifests = await world.register();
  if (!manifests.chromium) throw new Error('OrbiskHost.exe /register wrote no manifest for Chromium');
  world.writeHostWrapper();
  const hostsDir = path.join(profileDir, 'NativeMessagingHosts');
  fs.mkdirSync(hostsDir, { recursive: true });
  const manifest = { ...manifests.chromium, path: world.hostWrapper };
  fs.writeFileSync(path.join(hostsDir, `${HOST_NAME}.json`), JSON.stringify(manifest));
  return manifest;
}

// Adds catalogue items as Orbisk's edit dialog saves them. The test's
// catalogue tool is Orbisk's own catalogue code; it reads and writes the
// files of the Orbisk.exe it stands in for only under that name in that
// folder, so the installed Orbisk.exe steps aside while it runs and is put
// back afterwards, unchanged.
export async function addItemsAsOrbisk(world, items) {
  const installed = path.join(world.programDir, 'Orbisk.exe');
  const aside = path.join(world.programDir, 'Orbisk.exe.installed');
  fs.renameSync(installed, aside);
  try {
    fs.copyFileSync(world.buildFile('tests', 'browser', 'browser_catalogue.exe'), installed);
    for (const item of items) await world.addItem(item);
  } finally {
    fs.rmSync(installed, { force: true });
    fs.renameSync(aside, installed);
  }
}

// A value as the settings file keeps it: one that begins and ends with the
// same quote gets one more pair of double quotes, which its reader takes off.
function profileValue(value) {
  const first = value[0];
  return (first === '"' || first === "'") && value.at(-1) === first ? `"${value}"` : value;
}

// An item file, in the settings file's own format: Shift_JIS text with CR LF
// line ends and one [ItemList] section, as an export writes it. Items are
// given as addItemsAsOrbisk takes them.
function itemFileBytes(items) {
  const lines = ['[ItemList]', `ItemCount=${items.length}`];
  items.forEach((item, index) => {
    const n = index + 1;
    const fixed = item.kind === 'fixed';
    lines.push(
      `ItemName${n}=${profileValue(item.name)}`,
      `FixedString${n}=${fixed ? 1 : 0}`,
      `Argments${n}=${profileValue(fixed ? item.text : item.template)}`,
      `Comment${n}=`,
    );
    if (fixed) return;
    const contexts = ['page', 'image', 'link', 'selection'].map((key) => (item.contexts[key] ? '1' : '0')).join('');
    lines.push(
      `AplPath${n}=${item.application}`,
      `Contexts${n}=${contexts}`,
      `WindowStyle${n}=${item.windowStyle ?? 1}`,
      `ConfCmdLine${n}=${item.confirm ? 1 : 0}`,
    );
  });
  // iconv ends with an error on a character code page 932 lacks.
  return execFileSync('iconv', ['-f', 'UTF-8', '-t', 'CP932'], { input: lines.map((line) => `${line}\r\n`).join('') });
}

// Brings items into the installed Orbisk's catalogue from outside its
// window while the browser runs, as a user or an administrator's script
// does: `Orbisk.exe /import <file> /quiet`, the items given in an item file.
// Resolves with the report the import writes on its standard output, one
// line an item and a summary; fails unless every item was added.
export async function importItems(world, items) {
  const file = path.join(world.work, '取り込む項目.ini');
  fs.writeFileSync(file, itemFileBytes(items));
  const output = path.join(world.work, 'import-report.txt');
  const code = await world.run(path.join(world.programDir, 'Orbisk.exe'), ['/import', winPath(file), '/quiet'], { output });
  const report = new TextDecoder('shift_jis').decode(fs.readFileSync(output)).split('\r\n').filter(Boolean);
  const added = items.map((item) => `追加: ${item.name}`);
  if (code !== 0 || !added.every((line) => report.includes(line))) {
    throw new Error(`Orbisk.exe /import ended with ${code}, reporting:\n${report.join('\n')}`);
  }
  return report;
}
