// SPDX-License-Identifier: GPL-3.0-or-later
// The hover checks in Firefox ESR over WebDriver BiDi. Headful (run it under
// Xvfb): headless Firefox reports a pointer that cannot hover.
//
// usage: node firefox.test.mjs ROLLCRAFT_BINARY WORK_DIR
import puppeteer from 'puppeteer-core';
import fs from 'node:fs';
import path from 'node:path';
import { buildSite, finish, hoverChecks, serve, showing } from './site.mjs';

const [rollcraft, workDir] = process.argv.slice(2).map((p) => path.resolve(p));
const site = buildSite(rollcraft, workDir);
const server = await serve(site);
const profile = path.join(workDir, 'profile');
fs.mkdirSync(profile);
const browser = await puppeteer.launch({
  browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: false, userDataDir: profile,
  defaultViewport: { width: 400, height: 400 },
});
try {
  const page = await browser.newPage();
  await hoverChecks('firefox', {
    open: (url) => page.goto(url, { waitUntil: 'load' }),
    hover: (css) => page.hover(css),
    rest: () => page.mouse.move(1, 1),
    showing: () => page.evaluate(showing),
  }, `http://127.0.0.1:${server.address().port}`);
} finally {
  await browser.close();
  server.close();
}
finish('firefox');
