
// Put after background.js, in the same module, in the tests' copy of the
// extension only. Headless browsers draw no menus, so a test right-clicks in
// the page for real and then calls what a click on an entry calls.
globalThis.orbisk = {
  menus: () => shownEntries.map((entry) => ({ ...entry, contexts: entry.contexts.slice() })),
  pick,
  listenerCounts: () => ({ ...orbiskListenerCounts }),
};
