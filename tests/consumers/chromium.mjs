// What the browser tests share: Debian's Chromium, the flags that keep it
// headless and off the network, and playwright-core to drive it.

import fs from 'node:fs';

export const CHROMIUM = process.env.QUORVANE_CHROMIUM || '/usr/bin/chromium';
export const FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
  '--no-first-run', '--disable-background-networking', '--disable-component-update',
  '--disable-sync'];

// playwright-core's chromium, once Chromium and the other files a test needs
// ([path, Debian package] pairs) are there; otherwise says what to install
// and ends the test.
export async function loadChromium(needed = []) {
  for (const [file, hint] of [[CHROMIUM, 'chromium'], ...needed]) {
    if (!fs.existsSync(file)) {
      console.error(`${file} not found: install Debian's ${hint} (scripts/install-deps.sh test)`);
      process.exit(1);
    }
  }
  try {
    return (await import('playwright-core')).chromium;
  } catch (error) {
    console.error(`playwright-core cannot be loaded (${error.message}): run tests/consumers/install_node_modules.sh`);
    process.exit(1);
  }
}
