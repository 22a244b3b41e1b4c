// SPDX-License-Identifier: GPL-3.0-or-later
// The hover check in Firefox ESR over WebDriver BiDi, on the pages and on the fragment alone and
// in host pages. Headful (run it under
// Xvfb): headless Firefox reports a pointer that cannot hover.
//
// usage: node firefox.test.mjs ROLLCRAFT_BINARY WORK_DIR
import puppeteer from 'puppeteer-core';
import fs from 'node:fs';
import path from 'node:path';
import { hoverChecks, main } from './site.mjs';

await main('firefox', async ({ workDir, pages, hosts }) => {
  const userDataDir = path.join(workDir, 'profile');
  fs.mkdirSync(userDataDir);
  const browser = await puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
    headless: false, userDataDir, defaultViewport: { width: 400, height: 400 } });
  try {
    await hoverChecks('firefox', await browser.newPage(), [...pages, ...hosts]);
  } finally {
    await browser.close();
  }
});
