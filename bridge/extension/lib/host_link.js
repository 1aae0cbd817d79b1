// The connection to Orbisk's native messaging host. One port stays open for
// as long as the background runs: the host sends the catalogue on it whenever
// Orbisk saves a change, and picks travel on it too. While a native port is
// open, Chromium (105 and later) keeps the extension's service worker alive
// and Firefox keeps its background page loaded, so the menu follows the
// catalogue without any polling.

export const HOST_NAME = 'orbisk.host';

// Reconnection after the host ended or could not be started: soon at first,
// then less often, so that a host registered later is found without a
// browser restart and a missing one costs next to nothing.
const RETRY_FIRST_MS = 1000;
const RETRY_LAST_MS = 60000;

export class HostLink {
  #runtime;
  #onItems;
  #port = null;
  // Requests in the order they were sent; the host answers them in order.
  // A "list" request is answered by an "items" message, every other request
  // by one message of another type.
  #pending = [];
  #items = null;
  #itemsWaiters = [];
  #retryMs = RETRY_FIRST_MS;
  #retryTimer = null;
  #timers;
  lastError = '';

  // timers: where setTimeout and clearTimeout come from (a test's own clock).
  constructor(runtime, onItems, timers = globalThis) {
    this.#runtime = runtime;
    this.#onItems = onItems;
    this.#timers = timers;
  }

  get connected() {
    return this.#port !== null;
  }

  // The catalogue as last sent by the host; null before the first list.
  get items() {
    return this.#items;
  }

  connect() {
    if (this.#port) return;
    this.#timers.clearTimeout(this.#retryTimer);
    this.#retryTimer = null;
    let port;
    try {
      port = this.#runtime.connectNative(HOST_NAME);
    } catch (error) {
      this.#lost(String(error && error.message ? error.message : error));
      return;
    }
    this.#port = port;
    port.onMessage.addListener((message) => this.#received(message));
    port.onDisconnect.addListener((closed) => {
      if (this.#port !== closed) return;
      const lastError = this.#runtime.lastError;
      const reason = (closed.error && closed.error.message) || (lastError && lastError.message) || '';
      this.#port = null;
      this.#lost(reason || 'ホスト プログラムが終了しました。');
    });
    this.#send({ type: 'list' });
  }

  // Sends a request and resolves with the host's answer. Without an open
  // port, one is opened for it; when the host goes away before answering,
  // the answer is an error of our own.
  request(message) {
    this.connect();
    return this.#send(message);
  }

  // Resolves with the catalogue once the host has sent it, or with null
  // when it has not within `timeoutMs`: a click that starts the background
  // must wait for the list to know what the item needs.
  itemsWhenKnown(timeoutMs) {
    if (this.#items !== null) return Promise.resolve(this.#items);
    this.connect();
    return new Promise((resolve) => {
      const waiter = (items) => {
        this.#timers.clearTimeout(timer);
        resolve(items);
      };
      const timer = this.#timers.setTimeout(() => {
        this.#itemsWaiters = this.#itemsWaiters.filter((w) => w !== waiter);
        resolve(null);
      }, timeoutMs);
      this.#itemsWaiters.push(waiter);
    });
  }

  #send(message) {
    return new Promise((resolve) => {
      if (!this.#port) {
        resolve({ type: 'error', message: this.#unreachableText() });
        return;
      }
      this.#pending.push({ kind: message.type, resolve });
      try {
        this.#port.postMessage(message);
      } catch (error) {
        this.#pending.pop();
        resolve({ type: 'error', message: this.#unreachableText(String(error && error.message)) });
      }
    });
  }

  #received(message) {
    if (!message || typeof message !== 'object') return;
    this.#retryMs = RETRY_FIRST_MS;
    if (message.type === 'items') {
      if (this.#pending.length > 0 && this.#pending[0].kind === 'list') this.#pending.shift().resolve(message);
      this.lastError = '';
      this.#items = Array.isArray(message.items) ? message.items : [];
      const waiters = this.#itemsWaiters;
      this.#itemsWaiters = [];
      for (const waiter of waiters) waiter(this.#items);
      this.#onItems(this.#items);
      return;
    }
    const request = this.#pending.shift();
    if (!request) return;
    if (request.kind === 'list' && message.type === 'error') this.lastError = String(message.message ?? '');
    request.resolve(message);
  }

  #lost(reason) {
    this.lastError = reason;
    const pending = this.#pending;
    this.#pending = [];
    for (const request of pending) request.resolve({ type: 'error', message: this.#unreachableText(reason) });
    if (this.#retryTimer === null) {
      this.#retryTimer = this.#timers.setTimeout(() => {
        this.#retryTimer = null;
        this.connect();
      }, this.#retryMs);
      this.#retryMs = Math.min(this.#retryMs * 2, RETRY_LAST_MS);
    }
  }

  #unreachableText(reason = this.lastError) {
    const detail = reason ? `（${reason}）` : '';
    return `Orbisk のホスト プログラム OrbiskHost.exe と通信できませんでした。${detail}`;
  }
}
