// The window's message boxes as modal dialogs: the exit question with はい
// and いいえ, はい the default, and a fault message with one button. While
// one is open nothing else on the page takes a click or a key.

export class MessageBox {
    constructor(title, words) {
        this.title = title;
        this.words = words;
    }

    // Resolves to true for はい; Escape answers いいえ, as there is no third answer.
    ask(question) {
        return this.open(question, [
            { id: "yesButton", text: this.words.yes, answer: true },
            { id: "noButton", text: this.words.no, answer: false },
        ], false);
    }

    // A click that could not be finished: the window's warning.
    tell(message) {
        return this.open(message, [{ id: "okButton", text: this.words.ok, answer: true }], true, "warning");
    }

    open(message, choices, escapeAnswer, kind = "question") {
        const dialog = document.createElement("dialog");
        dialog.id = "messageBox";
        dialog.className = kind;
        dialog.setAttribute("aria-labelledby", "messageTitle");
        dialog.setAttribute("aria-describedby", "messageText");
        const title = document.createElement("div");
        title.id = "messageTitle";
        title.textContent = this.title;
        const text = document.createElement("p");
        text.id = "messageText";
        text.textContent = message;
        const buttons = document.createElement("div");
        buttons.className = "message-buttons";
        dialog.append(title, text, buttons);
        const before = document.activeElement;
        return new Promise((resolve) => {
            const answer = (value) => {
                dialog.close();
                dialog.remove();
                before?.focus({ preventScroll: true });
                resolve(value);
            };
            for (const choice of choices) {
                const button = document.createElement("button");
                button.type = "button";
                button.id = choice.id;
                button.textContent = choice.text;
                button.addEventListener("click", () => answer(choice.answer));
                buttons.append(button);
            }
            dialog.addEventListener("cancel", (event) => {
                event.preventDefault();
                answer(escapeAnswer);
            });
            document.body.append(dialog);
            dialog.showModal();
            // The first button is the default: Enter presses it.
            buttons.firstChild.focus();
        });
    }
}
