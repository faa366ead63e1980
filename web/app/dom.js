// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers for building and finding the page's elements.

/**
 * A new element with attributes and children.
 * @template {keyof HTMLElementTagNameMap} K
 * @param {K} tag
 * @param {Record<string, string>} [attributes]
 * @param {(Node|string)[]} [children]
 * @returns {HTMLElementTagNameMap[K]}
 */
export function element(tag, attributes = {}, children = []) {
    const made = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes)) made.setAttribute(name, value);
    made.append(...children);
    return made;
}

/**
 * Sets a node's text only when it differs: a rewrite of the same text still costs a layout.
 * @param {Node|undefined|null} node
 * @param {string} text
 */
export function setText(node, text) {
    if (!node || node.textContent === text) return;
    // Changing the text node in place is cheaper than replacing it.
    const only = node.firstChild;
    if (only instanceof Text && only === node.lastChild) only.data = text;
    else node.textContent = text;
}

/**
 * Runs `work` once the next frame has been painted: what only a screen reader or a hidden page
 * shows need not hold up the counts a player waits for.
 * @param {() => void} work
 */
export function afterPaint(work) {
    requestAnimationFrame(() => setTimeout(work));
}

/**
 * Sets an attribute only when it differs, for the same reason.
 * @param {Element|undefined|null} target
 * @param {string} name
 * @param {string} value
 */
export function setAttribute(target, name, value) {
    if (target && target.getAttribute(name) !== value) target.setAttribute(name, value);
}

/**
 * The element with `id`, of the kind expected; a missing one is a fault of the page itself.
 * @template {HTMLElement} T
 * @param {string} id
 * @param {new () => T} kind
 * @returns {T}
 */
export function byId(id, kind) {
    const found = document.getElementById(id);
    if (!(found instanceof kind)) throw new TypeError(`#${id}`);
    return found;
}

/**
 * The elements below `root` matching `selector`, of the kind expected.
 * @template {Element} T
 * @param {ParentNode} root
 * @param {string} selector
 * @param {new () => T} kind
 * @returns {T[]}
 */
export function all(root, selector, kind) {
    return [...root.querySelectorAll(selector)].filter(
        /** @returns {found is T} */ (found) => found instanceof kind);
}

/**
 * Shows `dialog` modally and gives the focus back to what had it once the dialog closes.
 * @param {HTMLDialogElement} dialog
 * @param {Element|null} [returnTo]
 */
export function openModal(dialog, returnTo = document.activeElement) {
    if (dialog.open) return;
    dialog.addEventListener('close', () => {
        if (returnTo instanceof HTMLElement && returnTo.isConnected) returnTo.focus();
    }, { once: true });
    dialog.showModal();
}
