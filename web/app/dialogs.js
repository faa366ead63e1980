// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of a page: its rerolls, the odds, the roll log and the copied page, each in a
// modal dialog that gives the focus back to the button that opened it.

import { byId, element, openModal } from './dom.js';

/**
 * @typedef {import('./core.js').Core} Core
 * @typedef {import('./core.js').Session} Session
 * @typedef {'hit'|'damage'} PageId
 * @typedef {{kind:'face'|'atLeast', value:number}} Focus
 * @typedef {{kind:'face'|'atLeast', value:number, dice:number, text:string, enabled:boolean}} Entry
 * @typedef {{chosenSides: () => number, changed: (page: PageId) => {announcement: string},
 *            announce: (text: string) => void}} Host
 */

// The log keeps up to 100,000 events; the newest of them are enough to look through.
const shownLogRows = 300;

export class Dialogs {
    /**
     * @param {Core} core
     * @param {Session} session
     * @param {Host} host
     */
    constructor(core, session, host) {
        this.core = core;
        this.session = session;
        this.host = host;
        this.menu = byId('menu', HTMLDialogElement);
        this.odds = byId('odds', HTMLDialogElement);
        this.log = byId('log', HTMLDialogElement);
        /** @type {PageId} */
        this.menuPage = 'hit';
        /** @type {Element|null} */
        this.opener = null;
        byId('open-odds', HTMLButtonElement).addEventListener('click',
            () => this.fromMenu(() => this.openOdds()));
        byId('open-log', HTMLButtonElement).addEventListener('click',
            () => this.fromMenu(() => this.openLog()));
        byId('copy-page', HTMLButtonElement).addEventListener('click',
            () => this.fromMenu(() => this.copyPage()));
        byId('save-csv', HTMLButtonElement).addEventListener('click', () => this.saveCsv());
    }

    /**
     * The page's commands, with the reroll of `focus` first when the last roll has one.
     * @param {PageId} page
     * @param {Focus|null} focus
     * @param {HTMLElement} opener
     */
    openMenu(page, focus, opener) {
        if (this.menu.open) return;
        this.menuPage = page;
        this.opener = opener;
        const menu = this.session.rerollMenu(page, focus);
        byId('menu-first', HTMLElement).replaceChildren(
            ...(menu.first ? [this.entryButton(page, menu.first)] : []));
        // Before the page's first roll and after its counts were cleared there is nothing to
        // reroll, and the groups stay out of the way.
        for (const [id, entries] of /** @type {const} */ ([['menu-faces', menu.faces],
            ['menu-fails', menu.fails]])) {
            const group = byId(id, HTMLElement);
            group.replaceChildren(...entries.map((entry) => this.entryButton(page, entry)));
            if (group.parentElement) group.parentElement.hidden = entries.length === 0;
        }
        openModal(this.menu, opener);
    }

    /**
     * @param {PageId} page
     * @param {Entry} entry
     */
    entryButton(page, entry) {
        const button = element('button', { type: 'button' }, [entry.text]);
        button.disabled = !entry.enabled;
        button.addEventListener('click', () => {
            this.menu.close();
            if (entry.kind === 'face') this.session.rerollFace(page, entry.value);
            else this.session.rerollBelow(page, entry.value);
            this.host.announce(this.host.changed(page).announcement);
        });
        return button;
    }

    /**
     * Closes the menu, then runs a command of the page it was opened on.
     * @param {() => void} command
     */
    fromMenu(command) {
        this.menu.close();
        command();
    }

    openOdds() {
        this.showOdds();
        openModal(this.odds, this.opener);
    }

    openLog() {
        this.showLog();
        openModal(this.log, this.opener);
        const scroller = this.log.querySelector('.table-scroll');
        // The newest event in sight.
        if (scroller) scroller.scrollTop = scroller.scrollHeight;
    }

    // Whatever is open follows the counts.
    refresh() {
        if (this.odds.open) this.showOdds();
        if (this.log.open) this.showLog();
    }

    showOdds() {
        const odds = this.session.odds(this.menuPage, this.host.chosenSides());
        byId('odds-sentence', HTMLElement).textContent = odds.sentence;
        byId('odds-tables', HTMLElement).replaceChildren(...odds.tables.map((table, i) => {
            const captionId = `odds-caption-${i}`;
            const written = (/** @type {string} */ text, /** @type {string} */ spoken) => [
                element('span', { 'aria-hidden': 'true' }, [text]),
                element('span', { class: 'visually-hidden' }, [spoken])];
            return element('div',
                { class: 'table-scroll', tabindex: '0', role: 'region',
                    'aria-labelledby': captionId },
                [element('table', {}, [
                    element('caption', { id: captionId }, [table.caption]),
                    element('thead', {}, [element('tr', {}, [
                        element('td'),
                        ...table.columns.map((title) => element('th', { scope: 'col' }, [title]))])]),
                    element('tbody', {}, table.rows.map((row) => element('tr', {}, [
                        element('th', { scope: 'row' }, [row.heading]),
                        ...row.written.map((text, j) => element('td', {},
                            written(text, row.spoken[j] ?? text)))])))])]);
        }));
    }

    showLog() {
        byId('log-columns', HTMLElement).replaceChildren(...this.session.logColumns().map(
            (title) => element('th', { scope: 'col' }, [title])));
        const size = this.session.logSize();
        const rows = [];
        for (let i = Math.max(0, size - shownLogRows); i < size; ++i) {
            rows.push(element('tr', {},
                this.session.logRow(i).map((cell) => element('td', {}, [cell]))));
        }
        byId('log-rows', HTMLElement).replaceChildren(...rows);
    }

    saveCsv() {
        const chosen = this.log.querySelector('input[name="csv"]:checked');
        const variant = chosen instanceof HTMLInputElement && chosen.value === 'semicolon'
            ? 'semicolon' : 'comma';
        // A copy of its own: the core's bytes may sit on a shared memory.
        const blob = new Blob([new Uint8Array(this.session.csv(variant))], { type: 'text/csv' });
        const url = URL.createObjectURL(blob);
        const link = element('a', { href: url, download: this.core.words.csvFileName });
        link.click();
        // The download has taken the data by the time this runs.
        setTimeout(() => URL.revokeObjectURL(url), 60_000);
    }

    async copyPage() {
        const text = this.session.pageText(this.menuPage);
        try {
            await navigator.clipboard.writeText(text);
            this.host.announce(this.core.words.pageCopied);
        } catch {
            this.host.announce(this.core.words.copyFailed);
        }
    }
}
