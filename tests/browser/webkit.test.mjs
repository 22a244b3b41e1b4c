// SPDX-License-Identifier: GPL-3.0-or-later
// The hover checks in WebKitGTK: WebKitWebDriver starts MiniBrowser, driven
// by selenium-webdriver. MiniBrowser has no headless mode: run it under Xvfb.
//
// usage: node webkit.test.mjs ROLLCRAFT_BINARY WORK_DIR
import { Builder, By } from 'selenium-webdriver';
import { spawn } from 'node:child_process';
import net from 'node:net';
import path from 'node:path';
import { buildSite, finish, hoverChecks, serve, showing } from './site.mjs';

const [rollcraft, workDir] = process.argv.slice(2).map((p) => path.resolve(p));
const site = buildSite(rollcraft, workDir);
const server = await serve(site);

const port = await new Promise((resolve) => {
  const probe = net.createServer().listen(0, '127.0.0.1', () => {
    const { port: free } = probe.address();
    probe.close(() => resolve(free));
  });
});
const webDriver = spawn('/usr/bin/WebKitWebDriver', [`--port=${port}`], { stdio: 'inherit' });
let driver;
try {
  driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
    browserName: 'MiniBrowser',
    'webkitgtk:browserOptions': {
      binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation'],
    },
  }).build();
  await driver.manage().window().setRect({ width: 400, height: 400 });
  await hoverChecks('webkit', {
    open: (url) => driver.get(url),
    hover: async (css) => driver.actions().move({ origin: await driver.findElement(By.css(css)) }).perform(),
    rest: () => driver.actions().move({ x: 1, y: 1 }).perform(),
    showing: () => driver.executeScript(`return (${showing})()`),
  }, `http://127.0.0.1:${server.address().port}`);
} finally {
  await driver?.quit();
  webDriver.kill();
  server.close();
}
finish('webkit');
