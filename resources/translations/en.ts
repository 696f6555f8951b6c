<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AddNewGroupDialog</name>
    <message>
        <source>Customize new group name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Group Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DataMgr</name>
    <message>
        <source>Group name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group name cannot be repeated!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GroupName</name>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blacklist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Family</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Friend</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Work</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MailType</name>
    <message>
        <source>Work</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Home</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mobile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Others</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>HTTPD server is running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ServerIP:%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ServerIP%1:%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port:%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HTTPD server request informations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language change will take effect after reboot.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>construct a new phone book</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show history</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Local Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import file local</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Network Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import file web</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Local Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export file local</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recovery Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto Httpd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure Httpd Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show help info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show about info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New phonebook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save phonebook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export phonebook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import phonebook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+I</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent phonebook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup phonebook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open HTTPD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Groups</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Batch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>multiple choice</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+M</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create one contact</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+G</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Add new contact</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operating,please wait.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the HTTPD server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close HTTPD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close the HTTPD server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quorvane makes IP desk phones and video phones for offices of every size. This editor keeps one phonebook for all of them: build it here, import what you already have, and let every phone fetch its own copy over the network.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The editor is developed and maintained by the Quorvane software team. Questions, suggestions and reports of problems are welcome through your Quorvane supplier.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to save this phone book?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit without saving</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Config&apos;s change will take effect after reboot.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Records</name>
    <message>
        <source>Work</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Home</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mobile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fax</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Car</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Radio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CompanyTotal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Assistant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Telex(Alderline)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Main(Alderline)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MMS(Alderline)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ISDN(Alderline)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TTY TTD(Alderline)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Callback(Alderline)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Work Fax(Alderline)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Home Fax(Alderline)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other Fax(Alderline)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Work Mobile(Alderline)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Work Pager(Alderline)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Company Main(Alderline)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom(Alderline)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>default head</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>default ringtone</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UserGuide</name>
    <message>
        <source>Create new phonebook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import an exist phonebook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save current phonebook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export current phonebook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Managing contacts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Managing groups</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View history</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make backup for current phonebook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language Option</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other config options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose File &gt; New (Ctrl+N) or the New button to start an empty phonebook that holds only the groups Default and Blacklist. When the phonebook in the window has changes that are not saved yet, you are asked first whether to save them, to drop them or to cancel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Import &gt; Local Import (Ctrl+I) or the Import button to read contacts from an XML, CSV or vCard file. Pick the file and its text encoding, choose whether the list is emptied first and whether contacts with the same name replace the ones you have, then press OK. Import &gt; Network Import (Ctrl+W) fetches a phonebook file from an http or https address and imports it the same way.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose File &gt; Save (Ctrl+S) or the Save file button. The phonebook is kept in the program&apos;s database, a copy named with the current date and time is written to the target folder, and the files that the built-in HTTPD server hands to the phones are renewed. Closing the window with unsaved changes asks whether to save them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Export &gt; Local Export (Ctrl+E) or the Export button to write the phonebook for another program or phone: vCard, the general XML layout, the XML and CSV layouts of the Alder, Birch, Cedar and Brenn phones, or the CSV layouts of Outlook, Outlook Express and Google Gmail. Choose the format, the text encoding, a name and a folder, then press OK. An existing file is only replaced after you confirm it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a group on the left to list its contacts in the middle; the panel on the right shows the selected contact for editing: names, department, phone numbers with their types and accounts, and e-mail addresses. Add new contact (Ctrl+G) creates a contact in the selected group. Right-click a contact to delete it, to remove it from the group or to move or copy it to another group; Batch (Ctrl+M) lets you tick several contacts and act on all of them at once. Type in the search line to find contacts by name or by pinyin initials.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The group list starts with All, Default and Blacklist. Click Add group to create a group: a free name is proposed, which you can change before you press Add. Double-click the name of a group you made to rename it; every name must be unique. Right-click a group to delete it or to dissolve it; both empty the group, and deleting also removes it from the list. The contacts themselves stay in the phonebook.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose File &gt; History (Ctrl+R) or the History button to go back to a phonebook saved earlier. Every save leaves a copy in the target folder, named with its date and time; the copy you open replaces the phonebook in the window. Save your work before you open a copy: changes that are not saved are lost.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press the Backup button (Ctrl+B) to write the whole phonebook to a file of your choice, by default in the backup folder. A backup is always written in the general XML layout, which Local Import and History read back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Language &gt; 简体中文 or Language &gt; English to change the language of the program. The choice is kept in the file language/config.xml and takes effect the next time the program starts. Without that file the program follows the language of the system.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Options menu holds three switches that take effect at the next start: Auto Start starts the editor when you log on, Recovery Data reopens the phonebook you worked on last, and Auto Httpd starts the HTTPD server at once. Configure Httpd Port chooses the server&apos;s port: 80, or one from 5000 to 65535. The Open HTTPD button starts and stops the server, from which every phone fetches the phonebook in its own layout, and shows the phones&apos; requests.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brisvale phonebook editor Help</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
