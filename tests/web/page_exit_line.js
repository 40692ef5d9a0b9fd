// The status line after the program ends: a browser without WebGL 2 is told
// so; another failure (here the shader refused, so the program exits with
// an error of its own) shows its code and does not blame WebGL 2.
'use strict';
const { check, openPage, status } = require('./page_tools');

// t: { session, url }
async function run(t) {
  const ended = async (setup) => {
    const page = await openPage(t.session, t.url, { setup, wait: false });
    try {
      await page.waitForFunction(() => /error/.test(document.getElementById('status').textContent), { timeout: 30000 });
      return await status(page);
    } catch (e) {
      return `(no end: ${e.message})`;
    } finally {
      await page.close();
    }
  };
  const noWebGl2 = await ended(() => {
    const get = HTMLCanvasElement.prototype.getContext;
    HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
      return kind === 'webgl2' ? null : get.call(this, kind, ...rest);
    };
  });
  const otherFailure = await ended(() => {
    const get = WebGL2RenderingContext.prototype.getShaderParameter;
    WebGL2RenderingContext.prototype.getShaderParameter = function (shader, name) {
      return name === this.COMPILE_STATUS ? false : get.call(this, shader, name);
    };
  });
  console.log(`status line without WebGL 2: "${noWebGl2}"; after another failure: "${otherFailure}"`);
  check(/WebGL 2/.test(noWebGl2), 'no WebGL 2: the status line says so');
  check(/0x[0-9a-f]+/.test(otherFailure) && !/WebGL/.test(otherFailure),
    'another failure: the status line gives its code and does not blame WebGL 2');
}

module.exports = { run };
