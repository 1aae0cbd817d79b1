// Put in front of background.js in the tests' copy of the extension only
// (see assemble_test_extension.cmake); the extension users load has none of
// it. Counts the listeners the background adds to the runtime's events, so
// that a test can see that answering a request adds none.
const orbiskListenerCounts = {};
{
  const runtime = (globalThis.browser ?? globalThis.chrome).runtime;
  for (const name of ['onInstalled', 'onMessage']) {
    const event = runtime[name];
    const add = event.addListener.bind(event);
    orbiskListenerCounts[name] = 0;
    event.addListener = (...args) => {
      orbiskListenerCounts[name] += 1;
      return add(...args);
    };
  }
}

