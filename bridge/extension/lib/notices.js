// The recent errors the extension's page lists, newest first. They are kept
// in the browser's session storage, not in a variable of the background: the
// browser ends an idle background (the service worker, or Firefox's event
// page) whenever it likes, and the list must outlive it. Session storage is
// emptied when the browser ends, and only the extension's own pages and
// background read it.

export const NOTICES_KEY = 'notices';
export const NOTICES_KEPT = 20;

// The lines of a stored list that can be shown; anything else found under
// the key is left out.
export function noticesOf(stored) {
  if (!Array.isArray(stored)) return [];
  return stored.filter((notice) => notice && typeof notice.time === 'string' && typeof notice.message === 'string');
}

// The stored list with `notice` in front, no longer than NOTICES_KEPT.
export function withNotice(stored, notice) {
  return [notice, ...noticesOf(stored)].slice(0, NOTICES_KEPT);
}
