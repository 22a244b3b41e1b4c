// SPDX-License-Identifier: GPL-3.0-or-later
// Both pages in headless Chromium, served and as previews: hover, and on the modern page Tab,
// a touch phone and a refused script. The fragment alone and pasted into two host pages: hover
// and Tab, the hosts' own styles and script untouched, the menu's pictures as large as alone,
// axe. Then the modern page under real conditions: a slow network, a 320 px wide screen, small
// pictures, a right-to-left language, the focus ring.
//
// usage: node chromium.test.mjs ROLLCRAFT_BINARY WORK_DIR
import { chromium } from 'playwright-core';
import { axeViolations, boxes, check, expected, hoverChecks, main, seen, sets } from './site.mjs';

const { plain } = sets;

// In the page: every computed style of each element outside the menu (the used sizes, which
// follow from the room the menu takes, left out), in document order, as [element, property, value].
function hostStyles() {
  const menu = document.querySelector('.rc-menu');
  const used = /^(width|height|inline-size|block-size|perspective-origin|transform-origin|grid-template-(rows|columns))$/;
  return [...document.querySelectorAll('*')].filter((e) => !menu?.contains(e)).flatMap((e, k) => {
    const style = getComputedStyle(e);
    return [...style].filter((p) => !used.test(p)).map((p) => `${k} ${e.tagName} ${p}: ${style.getPropertyValue(p)}`);
  });
}

// The first differences of two lists, or '' when they are the same.
function differences(a, b) {
  const changed = a.map((x, i) => (x === b[i] ? '' : `${x} became ${b[i]}`)).filter(Boolean);
  return [...changed.slice(0, 5), ...(a.length === b.length ? [] : ['another number of elements'])].join('; ');
}

await main('chromium', async ({ origin, pages, previews, hosts }) => {
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
  // Script errors anywhere, and files the modern pages asked for and did not get: none.
  const problems = [];
  const open = async (url, options = {}) => {
    const page = await (await browser.newContext({ viewport: { width: 400, height: 400 }, ...options })).newPage();
    page.on('pageerror', (e) => problems.push(e.message));
    page.on('response', (r) => r.status() >= 400 && /-modern|fragment|host-/.test(page.url()) && problems.push(r.url()));
    if (url)
      await page.goto(url);
    return page;
  };
  const modern = `${origin}/plain-modern.html`;
  try {
    const page = await open();
    await hoverChecks('chromium', page, [...pages, ...previews]);
    // One tap on a button whose pictures would swap follows its link and leaves no hover behind.
    const phone = await open(modern, { viewport: { width: 390, height: 700 }, hasTouch: true, isMobile: true });
    await phone.tap('.rc-b1');
    check('tap', `${await phone.evaluate(seen)} ${phone.url()}`, `${expected(plain)} ${modern}#shop`);
    await page.goto(modern);
    await page.addScriptTag({ content: 'document.title = "ran"' }).catch(() => {});
    check('page scripts refused', await page.title(), 'Rollover menu');

    // The fragment, alone and in the host pages.
    const wide = await open(undefined, { viewport: { width: 1000, height: 700 } });
    await hoverChecks('chromium', wide, hosts);
    await wide.goto(hosts[0][0]);
    const alone = await wide.evaluate(boxes, true);
    check('the current page', await wide.evaluate(() => document.querySelector('[aria-current=page]').className), 'rc-b1 rc-h');
    for (const [url] of hosts.slice(1)) {
      await wide.goto(url.replace('.html', '-bare.html'));
      const bare = await wide.evaluate(hostStyles);
      await wide.goto(url);
      check(`${url}: the host's own styles`, differences(bare, await wide.evaluate(hostStyles)), '');
      check(`${url}: the menu's pictures`, await wide.evaluate(boxes, true), alone);
      if (url.includes('rules'))
        check(`${url}: the host's own script`, await wide.evaluate(() => document.getElementById('ran').textContent), "The site's own script ran.");
    }
    for (const [url] of [...hosts, [`${origin}/arabic-fragment.html`]]) {
      await wide.goto(url);
      check(`${url}: axe-core`, await axeViolations(wide), '');
    }

    // A slow network: a button whose MouseOut picture has come shows it while its MouseOver
    // picture is still on its way.
    const slow = await open();
    const cdp = await slow.context().newCDPSession(slow);
    await cdp.send('Network.enable');
    await cdp.send('Network.setCacheDisabled', { cacheDisabled: true });
    await cdp.send('Network.emulateNetworkConditions', { offline: false, latency: 300, downloadThroughput: 20000, uploadThroughput: 20000 });
    // The first button's MouseOver picture comes a second late, whatever the network does.
    await slow.route(/home_over\.png$/, async (route) => { await new Promise((resolve) => setTimeout(resolve, 1000)); await route.continue(); });
    await slow.goto(modern, { waitUntil: 'commit' });
    await slow.waitForFunction(() => document.querySelector('.rc-b0 .rc-o')?.complete);
    await slow.hover('.rc-b0');
    // Until the MouseOver picture has come: whether it was coming, and how often the button was blank.
    const samples = [];
    do {
      samples.push(await slow.evaluate(() => {
        const a = document.querySelector('.rc-b0');
        const shown = [...a.querySelectorAll('img')].filter((i) => i.complete && i.naturalWidth > 0 && i.checkVisibility({ visibilityProperty: true }));
        return `${a.querySelector('.rc-v').complete ? 'come' : 'coming'} ${shown.length ? 'shown' : 'blank'}`;
      }));
    } while (samples.at(-1).startsWith('coming') && samples.length < 200);
    check('slow network: the MouseOver picture at first, the times the button was blank', `${samples[0].split(' ')[0]} ${samples.filter((x) => x.endsWith('blank')).length}`, 'coming 0');
    await cdp.send('Network.emulateNetworkConditions', { offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
    check('slow network: in the end', await slow.evaluate(seen), expected(plain, 0));

    // A phone 320 px wide: no picture cut off or out of reach; every link 24 x 24 at least;
    // Arabic right to left.
    for (const url of [`${origin}/arabic-modern.html`, `${origin}/arabic-fragment.html`]) {
      const narrow = await open(url, { viewport: { width: 320, height: 600 } });
      // The page's width, the pictures cut off, the links too small, the direction.
      check(`${url}: 320 px`, await narrow.evaluate(() => [document.scrollingElement.scrollWidth, [...document.querySelectorAll('.rc-menu img')]
        .filter((i) => { const r = i.getBoundingClientRect(); return r.left < 0 || r.right > 320; }).length, [...document.querySelectorAll('.rc-m > a')]
        .map((a) => a.getBoundingClientRect()).filter((r) => r.width < 24 || r.height < 24).length, getComputedStyle(document.querySelector('.rc-m')).direction].join(' ')), '320 0 0 rtl');
    }

    // The focus ring shows whole on all four sides, above the pictures next to it.
    await page.goto(modern);
    await page.keyboard.press('Tab');
    await page.keyboard.press('Tab');
    const box = await page.evaluate(() => { const r = document.activeElement.getBoundingClientRect(); return { x: r.x, y: r.y, width: r.width, height: r.height }; });
    const shot = (await page.screenshot({ clip: { x: box.x - 8, y: box.y - 8, width: box.width + 16, height: box.height + 16 } })).toString('base64');
    const ring = await (await open()).evaluate(async ({ shot, box }) => {
      const picture = await createImageBitmap(await (await fetch(`data:image/png;base64,${shot}`)).blob());
      const context = new OffscreenCanvas(picture.width, picture.height).getContext('2d');
      context.drawImage(picture, 0, 0);
      // 3.5 px outside the link's box, in the middle of each side.
      const at = (x, y) => [...context.getImageData(Math.round(x), Math.round(y), 1, 1).data.slice(0, 3)].join(',');
      return [at(8 + box.width / 2, 4.5), at(8 + box.width + 3.5, 8 + box.height / 2), at(8 + box.width / 2, 8 + box.height + 3.5), at(4.5, 8 + box.height / 2)].join(' ');
    }, { shot, box });
    check('focus ring on all four sides', ring, Array(4).fill('26,95,180').join(' '));
    check('script errors, missing files', problems.join(' '), '');
  } finally {
    await browser.close();
  }
});
