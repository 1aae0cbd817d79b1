// Turns the catalogue's items, as the host lists them, into context-menu
// entries. Kept free of browser calls so that the rules can be checked alone.

const ID_PREFIX = 'orbisk-item:';

// The entry's id carries the item's name, not its position: a click that
// arrives after the list changed must still name the item the user saw, and
// an item that is gone by then is refused by the host rather than mistaken
// for whatever took its place.
export function menuIdOf(name) {
  return ID_PREFIX + name;
}

export function itemNameOf(menuId) {
  const id = String(menuId);
  return id.startsWith(ID_PREFIX) ? id.slice(ID_PREFIX.length) : null;
}

// The entry shows the name exactly as the item carries it. The old browser
// put the name into a Win32 menu unchanged, so "&" marked the access key and
// "&&" showed one ampersand; Chromium's and Firefox's menu titles follow the
// same convention, so passing the name through shows it the same way.
// Both browsers also put the selected text in place of "%s" in a title, which
// has no escape; a word joiner between the two characters keeps "%s" in a
// name visible as typed without changing how it looks.
export function menuTitle(name) {
  return name.replaceAll('%s', '%\u2060s');
}

// Menu situations of a launcher item, in the browsers' names. Chromium counts
// a click inside a frame as "page"; Firefox does not, and offers "frame"
// there instead, so Firefox gets both for an item shown on a plain page.
// A fixed-string item is offered over text fields ("editable"); Firefox
// names password fields apart.
export function menuContexts(item, browserFamily) {
  if (item.kind === 'fixed') {
    return browserFamily === 'firefox' ? ['editable', 'password'] : ['editable'];
  }
  const on = item.contexts || {};
  const contexts = [];
  if (on.page) {
    contexts.push('page');
    if (browserFamily === 'firefox') contexts.push('frame');
  }
  if (on.image) contexts.push('image');
  if (on.link) contexts.push('link');
  if (on.selection) contexts.push('selection');
  return contexts;
}

// One entry per item that is offered anywhere, in the host's order. An item
// with no menu situation is never offered, as before.
export function menuEntries(items, browserFamily) {
  const entries = [];
  const seen = new Set();
  for (const item of Array.isArray(items) ? items : []) {
    if (!item || typeof item.name !== 'string' || item.name === '') continue;
    const id = menuIdOf(item.name);
    if (seen.has(id)) continue;
    const contexts = menuContexts(item, browserFamily);
    if (contexts.length === 0) continue;
    seen.add(id);
    entries.push({ id, title: menuTitle(item.name), contexts });
  }
  return entries;
}
