// SPDX-License-Identifier: GPL-3.0-or-later
// The hover check in WebKitGTK's MiniBrowser over WebKitWebDriver, on the pages and on the fragment
// alone and in host pages; it has no headless mode: run under Xvfb.
//
// usage: node webkit.test.mjs ROLLCRAFT_BINARY WORK_DIR
import { Builder, By, Key } from 'selenium-webdriver';
import { execFileSync, spawn } from 'node:child_process';
import portprober from 'selenium-webdriver/net/portprober.js';
import { hoverChecks, main } from './site.mjs';

await main('webkit', async ({ pages, hosts }) => {
  const port = await portprober.findFreePort();
  const webDriver = spawn('/usr/bin/WebKitWebDriver', [`--port=${port}`], { stdio: 'inherit' });
  let driver;
  try {
    driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({ browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': { binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation'] } }).build();
    await driver.manage().window().setRect({ width: 400, height: 400 });
    // No window manager gives the window the keyboard under Xvfb; without it the page is never
    // focused and matches no :focus.
    execFileSync('xdotool', ['search', '--sync', '--onlyvisible', '--class', 'MiniBrowser', 'windowfocus'], { timeout: 10000 });
    await hoverChecks('webkit', {
      goto: (url) => driver.get(url),
      hover: async (css) => {
        const element = await driver.findElement(By.css(css));
        await driver.executeScript('arguments[0].scrollIntoView({ block: "center" })', element);
        await driver.actions().move({ origin: element }).perform();
      },
      keyboard: { press: () => driver.actions().sendKeys(Key.TAB).perform() },
      mouse: { move: (x, y) => driver.actions().move({ x, y }).perform() },
      evaluate: (fn, arg) => driver.executeScript(`return (${fn})(arguments[0])`, arg),
    }, [...pages, ...hosts]);
  } finally {
    await driver?.quit();
    webDriver.kill();
  }
});
