// Starts a headless browser with Orbisk's extension loaded and a native
// messaging host registered, and drives the extension the way a user's click
// on one of its menu entries would: headless browsers draw no menus, so the
// test right-clicks in the page for real and then calls the function the
// entry's click calls (globalThis.orbisk.pick in the background of the
// tests' copy of the extension; the extension users load has no such hook).
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

export const GECKO_ID = 'orbisk@orbisk.example';
export const HOST_NAME = 'orbisk.host';

// Chromium's id for an extension whose manifest carries `key`: the first
// 32 hex digits of the SHA-256 of the DER key, written with the letters a–p.
export function chromiumExtensionId(base64Key) {
  const digest = crypto.createHash('sha256').update(Buffer.from(base64Key, 'base64')).digest('hex');
  return [...digest.slice(0, 32)].map((digit) => String.fromCharCode(97 + parseInt(digit, 16))).join('');
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export async function waitFor(what, check, timeoutMs = 10000, everyMs = 50) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(everyMs);
  }
}

// What both browsers offer the tests.
class Session {
  constructor(family, browser, extensionPage, hostManifestFile) {
    this.family = family;
    this.browser = browser;
    this.extensionPage = extensionPage;
    // Where this browser finds the host's manifest; it reads it anew for
    // every connection.
    this.hostManifestFile = hostManifestFile;
  }

  async newPage() {
    const page = await this.browser.newPage();
    // A prompt nobody answers would stall the pick; a test that expects one
    // sets page.orbiskDialogAnswer (a string, or null to cancel) first.
    page.orbiskDialogs = [];
    page.on('dialog', async (dialog) => {
      page.orbiskDialogs.push({ type: dialog.type(), message: dialog.message(), defaultValue: dialog.defaultValue() });
      if (page.orbiskDialogAnswer === null || page.orbiskDialogAnswer === undefined) await dialog.dismiss();
      else await dialog.accept(page.orbiskDialogAnswer);
    });
    return page;
  }

  // The entries the extension has put into the context menu.
  menus() {
    return this.callOrbisk('menus');
  }

  // Waits until the menu's entries satisfy `check`, and returns them.
  async waitForMenus(check, timeoutMs = 10000) {
    return waitFor('the menu entries', async () => {
      const entries = await this.menus().catch(() => null);
      return entries && check(entries) ? entries : null;
    }, timeoutMs);
  }

  // The tab and frame ids the browser gives `frame` of `page`. A frame the
  // page wrote itself takes the page's address (document.open), so it is
  // known by its body's id instead.
  async frameTarget(page, frame = page.mainFrame()) {
    const pageUrl = page.url();
    const frameUrl = frame.url();
    const written = frame !== page.mainFrame() && (frameUrl === 'about:blank' || frameUrl === pageUrl);
    const bodyId = written ? await frame.evaluate(() => (document.body ? document.body.id : '')) : '';
    return this.inExtension(async (pageUrl, frameUrl, bodyId) => {
      const api = globalThis.browser ?? globalThis.chrome;
      const tab = (await api.tabs.query({})).find((candidate) => candidate.url === pageUrl);
      if (!tab) return null;
      const frames = await api.scripting.executeScript({
        target: { tabId: tab.id, allFrames: true },
        func: () => [document.URL, document.body ? document.body.id : ''],
      });
      const found = frames.find((result) => (bodyId ? result.result[1] === bodyId : result.result[0] === frameUrl));
      return found ? { tabId: tab.id, frameId: found.frameId } : null;
    }, pageUrl, frameUrl, bodyId);
  }

  // Picks the entry of item `name` as a click on it would, after the test
  // right-clicked in `frame`; resolves with the host's answer.
  async pick(name, page, frame = page.mainFrame(), extraInfo = {}) {
    const target = await this.frameTarget(page, frame);
    if (!target) throw new Error(`no tab or frame for ${frame.url()}`);
    const info = {
      menuItemId: `orbisk-item:${name}`,
      frameId: target.frameId,
      pageUrl: page.url(),
      frameUrl: frame.url(),
      ...extraInfo,
    };
    return this.callOrbisk('pick', info.menuItemId, info, { id: target.tabId });
  }

  // Messages the extension's page lists as recent errors, newest first,
  // after pressing its "再確認" button.
  async pageNotices() {
    const page = this.extensionPage;
    await page.evaluate(() => {
      delete document.body.dataset.checked;
      document.getElementById('recheck').click();
    });
    // Asked again and again rather than with waitForFunction, which Firefox
    // ESR 140 (a bare Debian 12's) cannot run in an extension's page.
    for (const until = Date.now() + 15000; ; ) {
      if (await page.evaluate(() => document.body.dataset.checked !== undefined)) break;
      if (Date.now() > until) throw new Error("the extension's page did not finish its check");
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
    return page.evaluate(() =>
      Array.from(document.querySelectorAll('#notice-list li'), (line) => line.lastChild.textContent),
    );
  }

  // Sends the request the extension's page sends when it checks again, and
  // waits for the background's answer.
  askStatus() {
    return this.extensionPage.evaluate(() => (globalThis.browser ?? globalThis.chrome).runtime.sendMessage({ type: 'status' }));
  }

  // The state line and item count the extension's page shows.
  async pageState() {
    await this.pageNotices();
    return this.extensionPage.evaluate(() => ({
      checked: document.body.dataset.checked,
      state: document.getElementById('state').textContent,
      count: document.getElementById('count').hidden ? '' : document.getElementById('count').textContent,
      detail: document.getElementById('detail').hidden ? '' : document.getElementById('detail').textContent,
      command: document.getElementById('command').textContent,
    }));
  }

  close() {
    return this.browser.close();
  }
}

class ChromiumSession extends Session {
  constructor(browser, extensionPage, workerTarget, hostManifestFile) {
    super('chromium', browser, extensionPage, hostManifestFile);
    this.workerTarget = workerTarget;
    this.evaluate = null;
  }

  // Runs `func(...args)` in the extension's service worker. Once the worker
  // was restarted, puppeteer's own worker object is stale and calls go
  // through a protocol session of their own.
  async inExtension(func, ...args) {
    if (!this.evaluate) {
      const worker = await this.workerTarget.worker();
      this.evaluate = (f, ...a) => worker.evaluate(f, ...a);
    }
    return this.evaluate(func, ...args);
  }

  callOrbisk(method, ...args) {
    return this.inExtension((method, args) => globalThis.orbisk[method](...args), method, args);
  }

  // Ids of the notifications the extension shows.
  notificationIds() {
    return this.inExtension(async () => Object.keys(await chrome.notifications.getAll()));
  }

  // Has the browser stop the extension's service worker, as it does with an
  // idle one, and waits for the next one to start. Puppeteer follows the
  // restart only partly: the extension's page is opened again, and the new
  // worker, which the debugger holds at its start, is let run here.
  async restartBackground() {
    // URL's origin is "null" for the chrome-extension: scheme.
    const origin = this.workerTarget.url().match(/^chrome-extension:\/\/[a-p]+/)[0];
    const helper = await this.browser.newPage();
    try {
      const cdp = await helper.createCDPSession();
      const versions = new Map();
      cdp.on('ServiceWorker.workerVersionUpdated', (event) => {
        for (const version of event.versions) versions.set(version.versionId, version);
      });
      await cdp.send('ServiceWorker.enable');
      const running = await waitFor('the running service worker', () =>
        [...versions.values()].find((v) => v.scriptURL.startsWith(`${origin}/`) && v.runningStatus === 'running'));
      await cdp.send('ServiceWorker.stopWorker', { versionId: running.versionId });
      await waitFor('the service worker to stop', () => versions.get(running.versionId).runningStatus === 'stopped');
      await cdp.send('ServiceWorker.disable');
    } finally {
      await helper.close();
    }
    // The page's own request wakes the new worker.
    this.extensionPage = await this.browser.newPage();
    await this.extensionPage.goto(`${origin}/options.html`);
    const cdp = await this.workerTarget.createCDPSession();
    this.evaluate = async (func, ...args) => {
      const { result, exceptionDetails } = await cdp.send('Runtime.evaluate', {
        expression: `(${func})(...${JSON.stringify(args)})`,
        awaitPromise: true,
        returnByValue: true,
      });
      if (exceptionDetails) throw new Error(exceptionDetails.exception?.description ?? exceptionDetails.text);
      return result.value;
    };
    // Until the worker has started and been let run, a call waits forever.
    await waitFor('the new background script', async () => {
      await cdp.send('Runtime.runIfWaitingForDebugger');
      const started = this.evaluate(() => typeof globalThis.orbisk === 'object');
      return Promise.race([started.catch(() => false), sleep(1000).then(() => false)]);
    }, 20000);
  }
}

class FirefoxSession extends Session {
  constructor(browser, extensionPage, hostManifestFile) {
    super('firefox', browser, extensionPage, hostManifestFile);
  }

  // Firefox's WebDriver BiDi reaches no extension background, but does
  // reach the extension's own page, from which the background is one call
  // away.
  inExtension(func, ...args) {
    return this.extensionPage.evaluate(func, ...args);
  }

  callOrbisk(method, ...args) {
    return this.extensionPage.evaluate(
      async (method, args) => {
        const background = await browser.runtime.getBackgroundPage();
        // A copy made here: the background's objects do not cross as they are.
        return JSON.parse(JSON.stringify((await background.orbisk[method](...args)) ?? null));
      },
      method,
      args,
    );
  }

  notificationIds() {
    return this.extensionPage.evaluate(async () => Object.keys(await browser.notifications.getAll()));
  }
}

// hostManifest: the host manifest as OrbiskHost.exe /register wrote it, with
// `path` already pointing at the program to run here.
export async function launchChromium({ extensionDir, extensionId, hostManifest, profileDir }) {
  fs.rmSync(profileDir, { recursive: true, force: true });
  fs.mkdirSync(path.join(profileDir, 'NativeMessagingHosts'), { recursive: true });
  const hostManifestFile = path.join(profileDir, 'NativeMessagingHosts', `${HOST_NAME}.json`);
  fs.writeFileSync(hostManifestFile, JSON.stringify(hostManifest));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    pipe: true,
    enableExtensions: [extensionDir],
    args: ['--no-sandbox', `--user-data-dir=${profileDir}`, '--lang=ja'],
  });
  try {
    const workerTarget = await browser.waitForTarget(
      (target) => target.type() === 'service_worker' && target.url().startsWith(`chrome-extension://${extensionId}/`),
      { timeout: 20000 },
    );
    const worker = await workerTarget.worker();
    await waitFor('the background script', () => worker.evaluate(() => typeof globalThis.orbisk === 'object'));
    const pageTarget = await browser.waitForTarget(
      (target) => target.type() === 'page' && target.url() === `chrome-extension://${extensionId}/options.html`,
      { timeout: 20000 },
    );
    return new ChromiumSession(browser, await pageTarget.page(), workerTarget, hostManifestFile);
  } catch (error) {
    await browser.close();
    throw error;
  }
}

export async function launchFirefox({ extensionDir, hostManifest, profileDir }) {
  // Firefox finds host manifests below the home folder.
  fs.rmSync(profileDir, { recursive: true, force: true });
  const hostsDir = path.join(profileDir, 'home', '.mozilla', 'native-messaging-hosts');
  fs.mkdirSync(hostsDir, { recursive: true });
  const hostManifestFile = path.join(hostsDir, `${HOST_NAME}.json`);
  fs.writeFileSync(hostManifestFile, JSON.stringify(hostManifest));
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: '/usr/bin/firefox-esr',
    headless: true,
    env: { ...process.env, HOME: path.join(profileDir, 'home') },
    extraPrefsFirefox: { 'intl.accept_languages': 'ja' },
  });
  try {
    await browser.installExtension(extensionDir);
    // The extension opens its page on installation. BiDi follows that
    // navigation only partly (the page keeps its old URL in puppeteer), so
    // the page is found through the browsing contexts.
    await waitFor('the extension page', async () => {
      const tree = await browser.connection.send('browsingContext.getTree', {});
      return tree.result.contexts.some((context) => context.url.startsWith('moz-extension://'));
    }, 20000);
    const tree = await browser.connection.send('browsingContext.getTree', {});
    const contextId = tree.result.contexts.find((context) => context.url.startsWith('moz-extension://')).context;
    const pages = await browser.pages();
    const extensionPage = pages.find((page) => page.mainFrame()._id === contextId) ?? pages[0];
    await waitFor('the background script', () =>
      extensionPage.evaluate(async () => typeof (await browser.runtime.getBackgroundPage()).orbisk === 'object'),
    );
    return new FirefoxSession(browser, extensionPage, hostManifestFile);
  } catch (error) {
    await browser.close();
    throw error;
  }
}
