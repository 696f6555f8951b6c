<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AddNewGroupDialog</name>
    <message>
        <source>Customize new group name</source>
        <translation>Customize new group name</translation>
    </message>
    <message>
        <source>New Group Name:</source>
        <translation>New Group Name:</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>AddressBookDialog</name>
    <message>
        <source>Address books</source>
        <translation>Address books</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Last result</source>
        <translation>Last result</translation>
    </message>
    <message>
        <source>&amp;Add…</source>
        <translation>&amp;Add…</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <source>Refresh &amp;now</source>
        <translation>Refresh &amp;now</translation>
    </message>
    <message>
        <source>&amp;Schedule…</source>
        <translation>&amp;Schedule…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>The address book &quot;%1&quot; could not be kept in phonebook.db (%2).</source>
        <translation>The address book &quot;%1&quot; could not be kept in phonebook.db (%2).</translation>
    </message>
    <message>
        <source>Remove address book</source>
        <translation>Remove address book</translation>
    </message>
    <message numerus="yes">
        <source>Remove the address book &quot;%1&quot;? Its %n contact(s) stay in the phonebook as your own and are no longer refreshed.</source>
        <translation>
            <numerusform>Remove the address book &quot;%1&quot;? Its %n contact stays in the phonebook as your own and is no longer refreshed.</numerusform>
            <numerusform>Remove the address book &quot;%1&quot;? Its %n contacts stay in the phonebook as your own and are no longer refreshed.</numerusform>
        </translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>The address book &quot;%1&quot; could not be removed from phonebook.db (%2).</source>
        <translation>The address book &quot;%1&quot; could not be removed from phonebook.db (%2).</translation>
    </message>
    <message>
        <source>Refresh the address book &quot;%1&quot;:</source>
        <translation>Refresh the address book &quot;%1&quot;:</translation>
    </message>
</context>
<context>
    <name>AddressBookForm</name>
    <message>
        <source>Add address books</source>
        <translation>Add address books</translation>
    </message>
    <message>
        <source>https://dav.example.com/</source>
        <translation>https://dav.example.com/</translation>
    </message>
    <message>
        <source>&amp;Find address books</source>
        <translation>&amp;Find address books</translation>
    </message>
    <message>
        <source>The server&apos;s address is enough: its address books are found from there (or give a book&apos;s own address).</source>
        <translation>The server&apos;s address is enough: its address books are found from there (or give a book&apos;s own address).</translation>
    </message>
    <message>
        <source>The book&apos;s own name</source>
        <translation>The book&apos;s own name</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>&amp;Address:</source>
        <translation>&amp;Address:</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;User name:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Password:</translation>
    </message>
    <message>
        <source>&amp;Group:</source>
        <translation>&amp;Group:</translation>
    </message>
    <message>
        <source>&amp;Refresh:</source>
        <translation>&amp;Refresh:</translation>
    </message>
    <message>
        <source>Address books found:</source>
        <translation>Address books found:</translation>
    </message>
    <message>
        <source>The search was stopped.</source>
        <translation>The search was stopped.</translation>
    </message>
    <message>
        <source>%1 is no server address.</source>
        <translation>%1 is no server address.</translation>
    </message>
    <message>
        <source>%1 (added already)</source>
        <translation>%1 (added already)</translation>
    </message>
    <message numerus="yes">
        <source>%n address book(s) found; tick those to add.</source>
        <translation>
            <numerusform>%n address book found; tick it to add it.</numerusform>
            <numerusform>%n address books found; tick those to add.</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Stop</translation>
    </message>
</context>
<context>
    <name>CSVParse</name>
    <message>
        <source>The first line of the file names no column this program reads.</source>
        <translation>The first line of the file names no column this program reads.</translation>
    </message>
    <message>
        <source>The quoted field that starts on line %1 is never closed.</source>
        <translation>The quoted field that starts on line %1 is never closed.</translation>
    </message>
</context>
<context>
    <name>CardDavClient</name>
    <message>
        <source>The server&apos;s answer could not be read: %1</source>
        <translation>The server&apos;s answer could not be read: %1</translation>
    </message>
    <message>
        <source>Looking for address books at %1</source>
        <translation>Looking for address books at %1</translation>
    </message>
    <message>
        <source>Asking %1 what changed</source>
        <translation>Asking %1 what changed</translation>
    </message>
    <message>
        <source>No address book at %1 (the server answered %2).</source>
        <translation>No address book at %1 (the server answered %2).</translation>
    </message>
    <message>
        <source>the server did not answer in time</source>
        <translation>the server did not answer in time</translation>
    </message>
    <message>
        <source>No address book found at %1.</source>
        <translation>No address book found at %1.</translation>
    </message>
    <message numerus="yes">
        <source>Fetching %n card(s)</source>
        <translation>
            <numerusform>Fetching %n card</numerusform>
            <numerusform>Fetching %n cards</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CardRefresher</name>
    <message>
        <source>At start</source>
        <translation>At start</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Every %1 minutes</source>
        <translation>Every %1 minutes</translation>
    </message>
    <message>
        <source>The refresh of the address book &quot;%1&quot; waits until your edits are saved or discarded.</source>
        <translation>The refresh of the address book &quot;%1&quot; waits until your edits are saved or discarded.</translation>
    </message>
    <message>
        <source>Waiting for your edits to be saved</source>
        <translation>Waiting for your edits to be saved</translation>
    </message>
    <message>
        <source>Refreshing…</source>
        <translation>Refreshing…</translation>
    </message>
    <message>
        <source>Refreshing the address book &quot;%1&quot;…</source>
        <translation>Refreshing the address book &quot;%1&quot;…</translation>
    </message>
    <message>
        <source>%1 No password is kept for it: choose &quot;Refresh now&quot; in Import &gt; Address books to give it.</source>
        <translation>%1 No password is kept for it: choose &quot;Refresh now&quot; in Import &gt; Address books to give it.</translation>
    </message>
    <message numerus="yes">
        <source>%n contact(s) changed</source>
        <translation>
            <numerusform>%n contact changed</numerusform>
            <numerusform>%n contacts changed</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The address book &quot;%1&quot; brought %n change(s); the phonebook was saved for the phones.</source>
        <translation>
            <numerusform>The address book &quot;%1&quot; brought %n change; the phonebook was saved for the phones.</numerusform>
            <numerusform>The address book &quot;%1&quot; brought %n changes; the phonebook was saved for the phones.</numerusform>
        </translation>
    </message>
    <message>
        <source>Up to date</source>
        <translation>Up to date</translation>
    </message>
    <message>
        <source>The address book &quot;%1&quot; is up to date.</source>
        <translation>The address book &quot;%1&quot; is up to date.</translation>
    </message>
    <message>
        <source>The address book &quot;%1&quot; could not be refreshed: %2</source>
        <translation>The address book &quot;%1&quot; could not be refreshed: %2</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>The refresh of the address book &quot;%1&quot; was cancelled.</source>
        <translation>The refresh of the address book &quot;%1&quot; was cancelled.</translation>
    </message>
    <message>
        <source>Not refreshed yet</source>
        <translation>Not refreshed yet</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>ContactEditor</name>
    <message>
        <source>This group did not have contact</source>
        <translation>This group did not have contact</translation>
    </message>
    <message>
        <source>You can create new contacts or copy contacts from other group.</source>
        <translation>You can create new contacts or copy contacts from other group.</translation>
    </message>
    <message>
        <source>No contact matches</source>
        <translation>No contact matches</translation>
    </message>
    <message>
        <source>Search by name, pinyin, initials or number.</source>
        <translation>Search by name, pinyin, initials or number.</translation>
    </message>
    <message>
        <source>First Name</source>
        <translation>First Name</translation>
    </message>
    <message>
        <source>Last Name</source>
        <translation>Last Name</translation>
    </message>
    <message>
        <source>Department</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>Primary</source>
        <translation>Primary</translation>
    </message>
    <message>
        <source>Add new phone number and type</source>
        <translation>Add new phone number and type</translation>
    </message>
    <message>
        <source>Add new mail</source>
        <translation>Add new mail</translation>
    </message>
    <message>
        <source>Head</source>
        <translation>Head</translation>
    </message>
    <message>
        <source>Ringtone</source>
        <translation>Ringtone</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Group</translation>
    </message>
</context>
<context>
    <name>ContactView</name>
    <message>
        <source>Batch</source>
        <translation>Batch</translation>
    </message>
    <message>
        <source>Cancel Batch</source>
        <translation>Cancel Batch</translation>
    </message>
</context>
<context>
    <name>DataMgr</name>
    <message>
        <source>Group name</source>
        <translation>Group name</translation>
    </message>
    <message>
        <source>Group name cannot be repeated!</source>
        <translation>Group name cannot be repeated!</translation>
    </message>
    <message>
        <source>Phonebook store</source>
        <translation>Phonebook store</translation>
    </message>
    <message>
        <source>The phonebook could not be written to phonebook.db (%1).</source>
        <translation>The phonebook could not be written to phonebook.db (%1).</translation>
    </message>
    <message>
        <source>Import is failed,please check the file format and encoding.</source>
        <translation>Import is failed,please check the file format and encoding.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read.</source>
        <translation>The file %1 cannot be read.</translation>
    </message>
    <message>
        <source>Import failed: the phonebook could not be written to phonebook.db (%1). Nothing was changed.</source>
        <translation>Import failed: the phonebook could not be written to phonebook.db (%1). Nothing was changed.</translation>
    </message>
    <message>
        <source>The phonebook could not be read from phonebook.db (%1).</source>
        <translation>The phonebook could not be read from phonebook.db (%1).</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>unknown error</translation>
    </message>
    <message>
        <source>The phonebook store %1 could not be opened: %2</source>
        <translation>The phonebook store %1 could not be opened: %2</translation>
    </message>
    <message>
        <source>There is no layout %1.</source>
        <translation>There is no layout %1.</translation>
    </message>
    <message>
        <source>The file to write has no name.</source>
        <translation>The file to write has no name.</translation>
    </message>
    <message>
        <source>%1 could not be written (%2).</source>
        <translation>%1 could not be written (%2).</translation>
    </message>
    <message>
        <source>Save failed: %1</source>
        <translation>Save failed: %1</translation>
    </message>
    <message>
        <source>The card %1 could not be read: it holds %2 contacts.</source>
        <translation>The card %1 could not be read: it holds %2 contacts.</translation>
    </message>
    <message>
        <source>The card %1 could not be read: %2</source>
        <translation>The card %1 could not be read: %2</translation>
    </message>
</context>
<context>
    <name>DialogParts</name>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
</context>
<context>
    <name>ExportDialog</name>
    <message>
        <source>Export file</source>
        <translation>Export file</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Encode</source>
        <translation>Encode</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Export to</source>
        <translation>Export to</translation>
    </message>
    <message>
        <source>Select path</source>
        <translation>Select path</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>What the export makes of the phonebook</source>
        <translation>What the export makes of the phonebook</translation>
    </message>
    <message>
        <source>%1: what the file will hold of the phonebook.</source>
        <translation>%1: what the file will hold of the phonebook.</translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation>Checking…</translation>
    </message>
    <message>
        <source>Details…</source>
        <translation>Details…</translation>
    </message>
</context>
<context>
    <name>ExportFactory</name>
    <message>
        <source>VCard</source>
        <translation>VCard</translation>
    </message>
    <message>
        <source>XML(most universal)</source>
        <translation>XML(most universal)</translation>
    </message>
    <message>
        <source>XML(For Alder)</source>
        <translation>XML(For Alder)</translation>
    </message>
    <message>
        <source>XML(For Birch)</source>
        <translation>XML(For Birch)</translation>
    </message>
    <message>
        <source>XML(For Cedar)</source>
        <translation>XML(For Cedar)</translation>
    </message>
    <message>
        <source>XML(For Brenn)</source>
        <translation>XML(For Brenn)</translation>
    </message>
    <message>
        <source>CSV(For Alder)</source>
        <translation>CSV(For Alder)</translation>
    </message>
    <message>
        <source>CSV(For Birch)</source>
        <translation>CSV(For Birch)</translation>
    </message>
    <message>
        <source>CSV(For Outlook)</source>
        <translation>CSV(For Outlook)</translation>
    </message>
    <message>
        <source>CSV(For Simplified Chinese Outlook)</source>
        <translation>CSV(For Simplified Chinese Outlook)</translation>
    </message>
    <message>
        <source>CSV(For Outlook Express)</source>
        <translation>CSV(For Outlook Express)</translation>
    </message>
    <message>
        <source>CSV(For Simplified Chinese Outlook Express)</source>
        <translation>CSV(For Simplified Chinese Outlook Express)</translation>
    </message>
    <message>
        <source>CSV(For Google GMail)</source>
        <translation>CSV(For Google GMail)</translation>
    </message>
</context>
<context>
    <name>ExportRules</name>
    <message>
        <source>the encoding %1 is unknown</source>
        <translation>the encoding %1 is unknown</translation>
    </message>
    <message>
        <source>the encoding %1 cannot hold the name or mail address of %2</source>
        <translation>the encoding %1 cannot hold the name or mail address of %2</translation>
    </message>
</context>
<context>
    <name>FolderLock</name>
    <message>
        <source>The phonebook in %1 cannot be locked for writing: %2 (%3).</source>
        <translation>The phonebook in %1 cannot be locked for writing: %2 (%3).</translation>
    </message>
    <message>
        <source>The phonebook in %1 is being changed by another program; it did not finish within %2 seconds. Nothing was changed here; try again when it has finished.</source>
        <translation>The phonebook in %1 is being changed by another program; it did not finish within %2 seconds. Nothing was changed here; try again when it has finished.</translation>
    </message>
</context>
<context>
    <name>GroupName</name>
    <message>
        <source>All</source>
        <translation>All</translation>
    </message>
    <message>
        <source>Add group</source>
        <translation>Add group</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>Blacklist</source>
        <translation>Blacklist</translation>
    </message>
    <message>
        <source>Family</source>
        <translation>Family</translation>
    </message>
    <message>
        <source>Friend</source>
        <translation>Friend</translation>
    </message>
    <message>
        <source>Work</source>
        <translation>Work</translation>
    </message>
    <message>
        <source>Friends</source>
        <translation>Friends</translation>
    </message>
</context>
<context>
    <name>GroupView</name>
    <message>
        <source>new</source>
        <translation>new</translation>
    </message>
</context>
<context>
    <name>HttpdService</name>
    <message>
        <source>Httpd Server</source>
        <translation>Httpd Server</translation>
    </message>
    <message>
        <source>Unable to start the server: NIC device not found.</source>
        <translation>Unable to start the server: NIC device not found.</translation>
    </message>
    <message>
        <source>Open the default port 80 failed, please go to &apos;Options -&gt; Configuration Httpd Port&apos; to configure or use a random port.</source>
        <translation>Open the default port 80 failed, please go to &apos;Options -&gt; Configuration Httpd Port&apos; to configure or use a random port.</translation>
    </message>
    <message>
        <source>Open the custom port failed, the Httpd server will use a random port</source>
        <translation>Open the custom port failed, the Httpd server will use a random port</translation>
    </message>
    <message>
        <source>Unable to start the server: %1.</source>
        <translation>Unable to start the server: %1.</translation>
    </message>
    <message>
        <source>HTTPD server is running.</source>
        <translation>HTTPD server is running.</translation>
    </message>
    <message>
        <source>ServerIP:%1</source>
        <translation>ServerIP:%1</translation>
    </message>
    <message>
        <source>ServerIP%1:%2</source>
        <translation>ServerIP%1:%2</translation>
    </message>
    <message>
        <source>Port:%1</source>
        <translation>Port:%1</translation>
    </message>
</context>
<context>
    <name>HttpdThread</name>
    <message>
        <source>One device request phonebook.</source>
        <translation>One device request phonebook.</translation>
    </message>
    <message>
        <source>Product:</source>
        <translation>Product:</translation>
    </message>
    <message>
        <source>FileName:</source>
        <translation>FileName:</translation>
    </message>
</context>
<context>
    <name>ImportDialog</name>
    <message>
        <source>Import file</source>
        <translation>Import file</translation>
    </message>
    <message>
        <source>File Encoding</source>
        <translation>File Encoding</translation>
    </message>
    <message>
        <source>Clear list</source>
        <translation>Clear list</translation>
    </message>
    <message>
        <source>Replace Way</source>
        <translation>Replace Way</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Select File</source>
        <translation>Select File</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>LayoutCheck</name>
    <message>
        <source>(no name)</source>
        <translation>(no name)</translation>
    </message>
    <message>
        <source>The group %1 is past the %2 groups this phone takes.</source>
        <translation>The group %1 is past the %2 groups this phone takes.</translation>
    </message>
    <message>
        <source>%1 is past the %2 contacts this phone takes.</source>
        <translation>%1 is past the %2 contacts this phone takes.</translation>
    </message>
    <message>
        <source>A contact has no name.</source>
        <translation>A contact has no name.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; has characters %3 cannot hold; the export is refused.</source>
        <translation>%1: &quot;%2&quot; has characters %3 cannot hold; the export is refused.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; has characters %3 cannot hold; they are written as &quot;?&quot;.</source>
        <translation>%1: &quot;%2&quot; has characters %3 cannot hold; they are written as &quot;?&quot;.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; has characters %3 cannot hold; they are written as character references.</source>
        <translation>%1: &quot;%2&quot; has characters %3 cannot hold; they are written as character references.</translation>
    </message>
    <message>
        <source>%1 loses the group %2 on this phone.</source>
        <translation>%1 loses the group %2 on this phone.</translation>
    </message>
    <message>
        <source>%1: the number %2 cannot be dialled.</source>
        <translation>%1: the number %2 cannot be dialled.</translation>
    </message>
    <message>
        <source>%1: the number %2 belongs to another contact too.</source>
        <translation>%1: the number %2 belongs to another contact too.</translation>
    </message>
    <message>
        <source>%1 has no number.</source>
        <translation>%1 has no number.</translation>
    </message>
    <message>
        <source>%1: the number %2 (%3) is left out of this phone&apos;s file.</source>
        <translation>%1: the number %2 (%3) is left out of this phone&apos;s file.</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n mail address(es) left out of this phone&apos;s file.</source>
        <translation>
            <numerusform>%1: %n mail address left out of this phone&apos;s file.</numerusform>
            <numerusform>%1: %n mail addresses left out of this phone&apos;s file.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MailItem</name>
    <message>
        <source>Delete this mail address</source>
        <translation>Delete this mail address</translation>
    </message>
</context>
<context>
    <name>MailType</name>
    <message>
        <source>Work</source>
        <translation>Work</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>Mobile</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Others</source>
        <translation>Others</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>HTTPD server request informations</source>
        <translation>HTTPD server request informations</translation>
    </message>
    <message>
        <source>Language change</source>
        <translation>Language change</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>construct a new phone book</source>
        <translation>construct a new phone book</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Save file</source>
        <translation>Save file</translation>
    </message>
    <message>
        <source>&amp;History</source>
        <translation>&amp;History</translation>
    </message>
    <message>
        <source>Show history</source>
        <translation>Show history</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Exit</translation>
    </message>
    <message>
        <source>Quit program</source>
        <translation>Quit program</translation>
    </message>
    <message>
        <source>&amp;Local Import</source>
        <translation>&amp;Local Import</translation>
    </message>
    <message>
        <source>Import file local</source>
        <translation>Import file local</translation>
    </message>
    <message>
        <source>&amp;Network Import</source>
        <translation>&amp;Network Import</translation>
    </message>
    <message>
        <source>Import file web</source>
        <translation>Import file web</translation>
    </message>
    <message>
        <source>&amp;Local Export</source>
        <translation>&amp;Local Export</translation>
    </message>
    <message>
        <source>Export file local</source>
        <translation>Export file local</translation>
    </message>
    <message>
        <source>Auto Start</source>
        <translation>Auto Start</translation>
    </message>
    <message>
        <source>Recovery Data</source>
        <translation>Recovery Data</translation>
    </message>
    <message>
        <source>Auto Httpd</source>
        <translation>Auto Httpd</translation>
    </message>
    <message>
        <source>Configure Httpd Port</source>
        <translation>Configure Httpd Port</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Show help info</source>
        <translation>Show help info</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Show about info</source>
        <translation>Show about info</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Import</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>New</source>
        <translation>New</translation>
    </message>
    <message>
        <source>New phonebook</source>
        <translation>New phonebook</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>Save phonebook</source>
        <translation>Save phonebook</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Export phonebook</source>
        <translation>Export phonebook</translation>
    </message>
    <message>
        <source>Ctrl+E</source>
        <translation>Ctrl+E</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Import phonebook</source>
        <translation>Import phonebook</translation>
    </message>
    <message>
        <source>Ctrl+I</source>
        <translation>Ctrl+I</translation>
    </message>
    <message>
        <source>History</source>
        <translation>History</translation>
    </message>
    <message>
        <source>Recent phonebook</source>
        <translation>Recent phonebook</translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation>Ctrl+R</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>Backup phonebook</source>
        <translation>Backup phonebook</translation>
    </message>
    <message>
        <source>Ctrl+B</source>
        <translation>Ctrl+B</translation>
    </message>
    <message>
        <source>O&amp;pen HTTPD</source>
        <translation>O&amp;pen HTTPD</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Groups</translation>
    </message>
    <message>
        <source>All</source>
        <translation>All</translation>
    </message>
    <message>
        <source>Batch</source>
        <translation>Batch</translation>
    </message>
    <message>
        <source>multiple choice</source>
        <translation>multiple choice</translation>
    </message>
    <message>
        <source>Ctrl+M</source>
        <translation>Ctrl+M</translation>
    </message>
    <message>
        <source>Create one contact</source>
        <translation>Create one contact</translation>
    </message>
    <message>
        <source>Ctrl+G</source>
        <translation>Ctrl+G</translation>
    </message>
    <message>
        <source> Add new contact</source>
        <translation> Add new contact</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Quorvane Phonebook Editor</source>
        <translation>Quorvane Phonebook Editor</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Operating,please wait.</source>
        <translation>Operating,please wait.</translation>
    </message>
    <message>
        <source>Open the HTTPD server</source>
        <translation>Open the HTTPD server</translation>
    </message>
    <message>
        <source>&amp;Close HTTPD</source>
        <translation>&amp;Close HTTPD</translation>
    </message>
    <message>
        <source>Close the HTTPD server</source>
        <translation>Close the HTTPD server</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Quorvane makes IP desk phones and video phones for offices of every size. This editor keeps one phonebook for all of them: build it here, import what you already have, and let every phone fetch its own copy over the network.</source>
        <translation>Quorvane makes IP desk phones and video phones for offices of every size. This editor keeps one phonebook for all of them: build it here, import what you already have, and let every phone fetch its own copy over the network.</translation>
    </message>
    <message>
        <source>The editor is developed and maintained by the Quorvane software team. Questions, suggestions and reports of problems are welcome through your Quorvane supplier.</source>
        <translation>The editor is developed and maintained by the Quorvane software team. Questions, suggestions and reports of problems are welcome through your Quorvane supplier.</translation>
    </message>
    <message>
        <source>Exit program</source>
        <translation>Exit program</translation>
    </message>
    <message>
        <source>Do you want to save this phone book?</source>
        <translation>Do you want to save this phone book?</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Exit without saving</source>
        <translation>Exit without saving</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Options change</source>
        <translation>Options change</translation>
    </message>
    <message>
        <source>Config&apos;s change will take effect after reboot.</source>
        <translation>Config&apos;s change will take effect after reboot.</translation>
    </message>
    <message>
        <source>Enter contact&apos;s name to search</source>
        <translation>Enter contact&apos;s name to search</translation>
    </message>
    <message>
        <source>Delete group</source>
        <translation>Delete group</translation>
    </message>
    <message>
        <source>Dissolute group</source>
        <translation>Dissolute group</translation>
    </message>
    <message>
        <source>Remove contact</source>
        <translation>Remove contact</translation>
    </message>
    <message>
        <source>Delete contact</source>
        <translation>Delete contact</translation>
    </message>
    <message>
        <source>Move to</source>
        <translation>Move to</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>Copy to</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Open an phonebook contact file (recommended phonebook.xml)</source>
        <translation>Open an phonebook contact file (recommended phonebook.xml)</translation>
    </message>
    <message>
        <source>common xml text phonebook (*.xml)</source>
        <translation>common xml text phonebook (*.xml)</translation>
    </message>
    <message>
        <source>csv text phonebook(*.csv)</source>
        <translation>csv text phonebook(*.csv)</translation>
    </message>
    <message>
        <source>common VCard phonebook(*.vcf)</source>
        <translation>common VCard phonebook(*.vcf)</translation>
    </message>
    <message>
        <source>Look in</source>
        <translation>Look in</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>File Name</translation>
    </message>
    <message>
        <source>File Type</source>
        <translation>File Type</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Import Box</source>
        <translation>Import Box</translation>
    </message>
    <message>
        <source>Please choose correct file to import.</source>
        <translation>Please choose correct file to import.</translation>
    </message>
    <message>
        <source>Select a folder to export</source>
        <translation>Select a folder to export</translation>
    </message>
    <message>
        <source>Look in:</source>
        <translation>Look in:</translation>
    </message>
    <message>
        <source>Path Name</source>
        <translation>Path Name</translation>
    </message>
    <message>
        <source>Path Type</source>
        <translation>Path Type</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>Export Box</source>
        <translation>Export Box</translation>
    </message>
    <message>
        <source>Please enter a name and choose correct path to export.</source>
        <translation>Please enter a name and choose correct path to export.</translation>
    </message>
    <message>
        <source>Replace action</source>
        <translation>Replace action</translation>
    </message>
    <message>
        <source>has already exist</source>
        <translation>has already exist</translation>
    </message>
    <message>
        <source>do you want to replace it?</source>
        <translation>do you want to replace it?</translation>
    </message>
    <message>
        <source>Phone book has been exported successfully!</source>
        <translation>Phone book has been exported successfully!</translation>
    </message>
    <message>
        <source>Phone book export failed, please check directory or try another coding format!</source>
        <translation>Phone book export failed, please check directory or try another coding format!</translation>
    </message>
    <message>
        <source>Port Error</source>
        <translation>Port Error</translation>
    </message>
    <message>
        <source>The port should between 5000 and 65535!</source>
        <translation>The port should between 5000 and 65535!</translation>
    </message>
    <message>
        <source>The port could not be saved in %1.</source>
        <translation>The port could not be saved in %1.</translation>
    </message>
    <message>
        <source>Save option</source>
        <translation>Save option</translation>
    </message>
    <message>
        <source>You want to save current edit phone book message?</source>
        <translation>You want to save current edit phone book message?</translation>
    </message>
    <message>
        <source>No,thanks.</source>
        <translation>No,thanks.</translation>
    </message>
    <message>
        <source>Save Box</source>
        <translation>Save Box</translation>
    </message>
    <message>
        <source>current phonebook has been saved in target folder and named with current date and time.</source>
        <translation>current phonebook has been saved in target folder and named with current date and time.</translation>
    </message>
    <message>
        <source>Select a history to continue edit</source>
        <translation>Select a history to continue edit</translation>
    </message>
    <message>
        <source>Phonebook files (*.xml *.csv *.vcf)</source>
        <translation>Phonebook files (*.xml *.csv *.vcf)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Saved phonebooks (*.xml *.csv *.vcf)</source>
        <translation>Saved phonebooks (*.xml *.csv *.vcf)</translation>
    </message>
    <message>
        <source>Phonebook backups (*.xml)</source>
        <translation>Phonebook backups (*.xml)</translation>
    </message>
    <message>
        <source>The language could not be kept for the next start: %1 could not be written.</source>
        <translation>The language could not be kept for the next start: %1 could not be written.</translation>
    </message>
    <message>
        <source>Import History Failed</source>
        <translation>Import History Failed</translation>
    </message>
    <message>
        <source>Import history failed,please check the history file.</source>
        <translation>Import history failed,please check the history file.</translation>
    </message>
    <message>
        <source>Back up</source>
        <translation>Back up</translation>
    </message>
    <message>
        <source>Backup Option</source>
        <translation>Backup Option</translation>
    </message>
    <message>
        <source>The phonebook has been backed up to %1.</source>
        <translation>The phonebook has been backed up to %1.</translation>
    </message>
    <message>
        <source>Backup failed, please check the folder and try again.</source>
        <translation>Backup failed, please check the folder and try again.</translation>
    </message>
    <message>
        <source>The encoding of the file could not be recognised; please choose it from the list.</source>
        <translation>The encoding of the file could not be recognised; please choose it from the list.</translation>
    </message>
    <message>
        <source>1 contact</source>
        <translation>1 contact</translation>
    </message>
    <message>
        <source>%1 contacts</source>
        <translation>%1 contacts</translation>
    </message>
    <message>
        <source>Unsaved edits</source>
        <translation>Unsaved edits</translation>
    </message>
    <message>
        <source>A copy of unsaved edits was found but cannot be read: %1
It is left in %2.</source>
        <translation>A copy of unsaved edits was found but cannot be read: %1
It is left in %2.</translation>
    </message>
    <message>
        <source>The editor was ended on %1 with unsaved edits. A copy of them was kept (%2).</source>
        <translation>The editor was ended on %1 with unsaved edits. A copy of them was kept (%2).</translation>
    </message>
    <message>
        <source>Restore brings them back as unsaved edits; the saved phonebook stays as it is until you save. Discard deletes the copy. Later asks again at the next start.</source>
        <translation>Restore brings them back as unsaved edits; the saved phonebook stays as it is until you save. Discard deletes the copy. Later asks again at the next start.</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>The copy of unsaved edits could not be removed (%1); it will be offered again at the next start.</source>
        <translation>The copy of unsaved edits could not be removed (%1); it will be offered again at the next start.</translation>
    </message>
    <message>
        <source>No phonebook is open</source>
        <translation>No phonebook is open</translation>
    </message>
    <message>
        <source>The saved phonebook holds %1 and was saved on %2.</source>
        <translation>The saved phonebook holds %1 and was saved on %2.</translation>
    </message>
    <message>
        <source>Open saved phonebook</source>
        <translation>Open saved phonebook</translation>
    </message>
    <message>
        <source>Rename Group</source>
        <translation>Rename Group</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Undo %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Redo %1</translation>
    </message>
    <message>
        <source>&amp;Delete Contacts</source>
        <translation>&amp;Delete Contacts</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Find</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Select &amp;All</translation>
    </message>
    <message>
        <source>Select &amp;None</source>
        <translation>Select &amp;None</translation>
    </message>
    <message>
        <source>Confirm Deletions</source>
        <translation>Confirm Deletions</translation>
    </message>
    <message>
        <source>E&amp;dit</source>
        <translation>E&amp;dit</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Don&apos;t ask again</source>
        <translation>Don&apos;t ask again</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Dissolve Group</source>
        <translation>Dissolve Group</translation>
    </message>
    <message>
        <source>Delete Group</source>
        <translation>Delete Group</translation>
    </message>
    <message>
        <source>Deleted the group &quot;%1&quot;</source>
        <translation>Deleted the group &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Add Group</source>
        <translation>Add Group</translation>
    </message>
    <message>
        <source>Add Contact</source>
        <translation>Add Contact</translation>
    </message>
    <message>
        <source>Edit Contact</source>
        <translation>Edit Contact</translation>
    </message>
    <message numerus="yes">
        <source>Delete %n contact(s)?</source>
        <translation>
            <numerusform>Delete %n contact?</numerusform>
            <numerusform>Delete %n contacts?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Delete the group &quot;%1&quot;? Its %n contact(s) stay in the phonebook.</source>
        <translation>
            <numerusform>Delete the group &quot;%1&quot;? Its %n contact stays in the phonebook.</numerusform>
            <numerusform>Delete the group &quot;%1&quot;? Its %n contacts stay in the phonebook.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Delete %n Contact(s)</source>
        <translation>
            <numerusform>Delete %n Contact</numerusform>
            <numerusform>Delete %n Contacts</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Deleted %n contact(s)</source>
        <translation>
            <numerusform>Deleted %n contact</numerusform>
            <numerusform>Deleted %n contacts</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Remove %n Contact(s) from Group</source>
        <translation>
            <numerusform>Remove %n Contact from Group</numerusform>
            <numerusform>Remove %n Contacts from Group</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %n Contact(s)</source>
        <translation>
            <numerusform>Move %n Contact</numerusform>
            <numerusform>Move %n Contacts</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Copy %n Contact(s)</source>
        <translation>
            <numerusform>Copy %n Contact</numerusform>
            <numerusform>Copy %n Contacts</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Phones</source>
        <translation>&amp;Phones</translation>
    </message>
    <message>
        <source>Check what each phone model gets</source>
        <translation>Check what each phone model gets</translation>
    </message>
    <message>
        <source>Phones</source>
        <translation>Phones</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>Other models</source>
        <translation>Other models</translation>
    </message>
    <message>
        <source>The phonebook as saved: what each phone model fetches.</source>
        <translation>The phonebook as saved: what each phone model fetches.</translation>
    </message>
    <message>
        <source>The phonebook with its unsaved edits: what each phone model fetches once it is saved.</source>
        <translation>The phonebook with its unsaved edits: what each phone model fetches once it is saved.</translation>
    </message>
    <message>
        <source>; those from the address book %1 were kept</source>
        <translation>; those from the address book %1 were kept</translation>
    </message>
    <message>
        <source>This comes from the address book %1 and would come back with its next refresh, so it is kept. Delete it on the server, or remove the address book (its contacts then stay as your own).</source>
        <translation>This comes from the address book %1 and would come back with its next refresh, so it is kept. Delete it on the server, or remove the address book (its contacts then stay as your own).</translation>
    </message>
    <message>
        <source>Address &amp;books…</source>
        <translation>Address &amp;books…</translation>
    </message>
    <message>
        <source>Contacts from address-book servers, kept up to date</source>
        <translation>Contacts from address-book servers, kept up to date</translation>
    </message>
    <message>
        <source>Address books</source>
        <translation>Address books</translation>
    </message>
    <message>
        <source>The phonebook could not be read from phonebook.db.</source>
        <translation>The phonebook could not be read from phonebook.db.</translation>
    </message>
    <message>
        <source>The address book &quot;%1&quot; could not be refreshed: %2</source>
        <translation>The address book &quot;%1&quot; could not be refreshed: %2</translation>
    </message>
    <message>
        <source>From the address book &quot;%1&quot;: a refresh would overwrite edits, so only its groups can be changed here.</source>
        <translation>From the address book &quot;%1&quot;: a refresh would overwrite edits, so only its groups can be changed here.</translation>
    </message>
</context>
<context>
    <name>ParseBase</name>
    <message>
        <source>The encoding %1 is unknown.</source>
        <translation>The encoding %1 is unknown.</translation>
    </message>
    <message>
        <source>The file is not valid %1 text; choose the encoding it was saved in.</source>
        <translation>The file is not valid %1 text; choose the encoding it was saved in.</translation>
    </message>
</context>
<context>
    <name>PasswordStore</name>
    <message>
        <source>No secret store of the desktop answered, so the address books&apos; passwords are kept only until the editor ends; you will be asked for them again after the next start.</source>
        <translation>No secret store of the desktop answered, so the address books&apos; passwords are kept only until the editor ends; you will be asked for them again after the next start.</translation>
    </message>
</context>
<context>
    <name>PhoneCheckModel</name>
    <message>
        <source>The file cannot be made: the encoding %1 cannot hold some names or mail addresses.</source>
        <translation>The file cannot be made: the encoding %1 cannot hold some names or mail addresses.</translation>
    </message>
    <message>
        <source>Contacts: %1, groups: %2</source>
        <translation>Contacts: %1, groups: %2</translation>
    </message>
    <message>
        <source>%1 — nothing lost or changed</source>
        <translation>%1 — nothing lost or changed</translation>
    </message>
    <message>
        <source>%1 — lost: %2, changed: %3</source>
        <translation>%1 — lost: %2, changed: %3</translation>
    </message>
    <message>
        <source>Lost</source>
        <translation>Lost</translation>
    </message>
    <message>
        <source>Changed</source>
        <translation>Changed</translation>
    </message>
</context>
<context>
    <name>PhoneCheckView</name>
    <message>
        <source>Checking…</source>
        <translation>Checking…</translation>
    </message>
</context>
<context>
    <name>PhoneFetchModel</name>
    <message>
        <source>%1: nothing was sent</source>
        <translation>%1: nothing was sent</translation>
    </message>
    <message>
        <source>%1: %2 bytes sent</source>
        <translation>%1: %2 bytes sent</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>This phone has an older phonebook; it gets the current one when it fetches again.</source>
        <translation>This phone has an older phonebook; it gets the current one when it fetches again.</translation>
    </message>
    <message>
        <source>This phone has not received a whole phonebook.</source>
        <translation>This phone has not received a whole phonebook.</translation>
    </message>
    <message>
        <source>This phone has the phonebook that phones get now.</source>
        <translation>This phone has the phonebook that phones get now.</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>Last fetch</source>
        <translation>Last fetch</translation>
    </message>
    <message>
        <source>Up to date</source>
        <translation>Up to date</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>Bytes</translation>
    </message>
</context>
<context>
    <name>PhoneItem</name>
    <message>
        <source>account%1</source>
        <translation>account%1</translation>
    </message>
    <message>
        <source>Using Active Account</source>
        <translation>Using Active Account</translation>
    </message>
    <message>
        <source>Delete this number</source>
        <translation>Delete this number</translation>
    </message>
</context>
<context>
    <name>PortDialog</name>
    <message>
        <source>Configure Httpd Port</source>
        <translation>Configure Httpd Port</translation>
    </message>
    <message>
        <source>Use the Default Port 80:</source>
        <translation>Use the Default Port 80:</translation>
    </message>
    <message>
        <source>Custom Port (5000-65535):</source>
        <translation>Custom Port (5000-65535):</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Records</name>
    <message>
        <source>Work</source>
        <translation>Work</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>Mobile</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>Fax</translation>
    </message>
    <message>
        <source>Pager</source>
        <translation>Pager</translation>
    </message>
    <message>
        <source>Car</source>
        <translation>Car</translation>
    </message>
    <message>
        <source>Radio</source>
        <translation>Radio</translation>
    </message>
    <message>
        <source>CompanyTotal</source>
        <translation>CompanyTotal</translation>
    </message>
    <message>
        <source>Assistant</source>
        <translation>Assistant</translation>
    </message>
    <message>
        <source>Telex(Alderline)</source>
        <translation>Telex(Alderline)</translation>
    </message>
    <message>
        <source>Main(Alderline)</source>
        <translation>Main(Alderline)</translation>
    </message>
    <message>
        <source>MMS(Alderline)</source>
        <translation>MMS(Alderline)</translation>
    </message>
    <message>
        <source>ISDN(Alderline)</source>
        <translation>ISDN(Alderline)</translation>
    </message>
    <message>
        <source>TTY TTD(Alderline)</source>
        <translation>TTY TTD(Alderline)</translation>
    </message>
    <message>
        <source>Callback(Alderline)</source>
        <translation>Callback(Alderline)</translation>
    </message>
    <message>
        <source>Work Fax(Alderline)</source>
        <translation>Work Fax(Alderline)</translation>
    </message>
    <message>
        <source>Home Fax(Alderline)</source>
        <translation>Home Fax(Alderline)</translation>
    </message>
    <message>
        <source>Other Fax(Alderline)</source>
        <translation>Other Fax(Alderline)</translation>
    </message>
    <message>
        <source>Work Mobile(Alderline)</source>
        <translation>Work Mobile(Alderline)</translation>
    </message>
    <message>
        <source>Work Pager(Alderline)</source>
        <translation>Work Pager(Alderline)</translation>
    </message>
    <message>
        <source>Company Main(Alderline)</source>
        <translation>Company Main(Alderline)</translation>
    </message>
    <message>
        <source>Custom(Alderline)</source>
        <translation>Custom(Alderline)</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>default head</source>
        <translation>default head</translation>
    </message>
    <message>
        <source>default ringtone</source>
        <translation>default ringtone</translation>
    </message>
</context>
<context>
    <name>RecoveryCopy</name>
    <message>
        <source>It is not a copy of unsaved edits.</source>
        <translation>It is not a copy of unsaved edits.</translation>
    </message>
    <message>
        <source>It was written by another version of the editor.</source>
        <translation>It was written by another version of the editor.</translation>
    </message>
</context>
<context>
    <name>SqliteDatabase</name>
    <message>
        <source>the change was undone after an earlier error</source>
        <translation>the change was undone after an earlier error</translation>
    </message>
    <message>
        <source>it is not a phonebook store (it lacks the phonebook&apos;s tables); it was left as it is.</source>
        <translation>it is not a phonebook store (it lacks the phonebook&apos;s tables); it was left as it is.</translation>
    </message>
</context>
<context>
    <name>UserGuide</name>
    <message>
        <source>Create new phonebook</source>
        <translation>Create new phonebook</translation>
    </message>
    <message>
        <source>Import an exist phonebook</source>
        <translation>Import an exist phonebook</translation>
    </message>
    <message>
        <source>Save current phonebook</source>
        <translation>Save current phonebook</translation>
    </message>
    <message>
        <source>Export current phonebook</source>
        <translation>Export current phonebook</translation>
    </message>
    <message>
        <source>Managing contacts</source>
        <translation>Managing contacts</translation>
    </message>
    <message>
        <source>Managing groups</source>
        <translation>Managing groups</translation>
    </message>
    <message>
        <source>View history</source>
        <translation>View history</translation>
    </message>
    <message>
        <source>Make backup for current phonebook</source>
        <translation>Make backup for current phonebook</translation>
    </message>
    <message>
        <source>Language Option</source>
        <translation>Language Option</translation>
    </message>
    <message>
        <source>Other config options</source>
        <translation>Other config options</translation>
    </message>
    <message>
        <source>Choose File &gt; New (Ctrl+N) or the New button to start an empty phonebook that holds only the groups Default and Blacklist. When the phonebook in the window has changes that are not saved yet, you are asked first whether to save them, to drop them or to cancel.</source>
        <translation>Choose File &gt; New (Ctrl+N) or the New button to start an empty phonebook that holds only the groups Default and Blacklist. When the phonebook in the window has changes that are not saved yet, you are asked first whether to save them, to drop them or to cancel.</translation>
    </message>
    <message>
        <source>Choose Import &gt; Local Import (Ctrl+I) or the Import button to read contacts from an XML, CSV or vCard file. Pick the file and its text encoding, choose whether the list is emptied first and whether contacts with the same name replace the ones you have, then press OK. Import &gt; Network Import (Ctrl+W) fetches a phonebook file from an http or https address and imports it the same way.</source>
        <translation>Choose Import &gt; Local Import (Ctrl+I) or the Import button to read contacts from an XML, CSV or vCard file. Pick the file and its text encoding, choose whether the list is emptied first and whether contacts with the same name replace the ones you have, then press OK. Import &gt; Network Import (Ctrl+W) fetches a phonebook file from an http or https address and imports it the same way.</translation>
    </message>
    <message>
        <source>Choose File &gt; Save (Ctrl+S) or the Save file button. The phonebook is kept in the program&apos;s database, a copy named with the current date and time is written to the target folder, and the files that the built-in HTTPD server hands to the phones are renewed. Closing the window with unsaved changes asks whether to save them.</source>
        <translation>Choose File &gt; Save (Ctrl+S) or the Save file button. The phonebook is kept in the program&apos;s database, a copy named with the current date and time is written to the target folder, and the files that the built-in HTTPD server hands to the phones are renewed. Closing the window with unsaved changes asks whether to save them.</translation>
    </message>
    <message>
        <source>Choose Export &gt; Local Export (Ctrl+E) or the Export button to write the phonebook for another program or phone: vCard, the general XML layout, the XML and CSV layouts of the Alder, Birch, Cedar and Brenn phones, or the CSV layouts of Outlook, Outlook Express and Google Gmail. Choose the format, the text encoding, a name and a folder, then press OK. An existing file is only replaced after you confirm it.</source>
        <translation>Choose Export &gt; Local Export (Ctrl+E) or the Export button to write the phonebook for another program or phone: vCard, the general XML layout, the XML and CSV layouts of the Alder, Birch, Cedar and Brenn phones, or the CSV layouts of Outlook, Outlook Express and Google Gmail. Choose the format, the text encoding, a name and a folder, then press OK. An existing file is only replaced after you confirm it.</translation>
    </message>
    <message>
        <source>Select a group on the left to list its contacts in the middle; the panel on the right shows the selected contact for editing: names, department, phone numbers with their types and accounts, and e-mail addresses. Add new contact (Ctrl+G) creates a contact in the selected group. Right-click a contact to delete it, to remove it from the group or to move or copy it to another group; Batch (Ctrl+M) lets you tick several contacts and act on all of them at once. Type in the search line to find contacts by name or by pinyin initials.</source>
        <translation>Select a group on the left to list its contacts in the middle; the panel on the right shows the selected contact for editing: names, department, phone numbers with their types and accounts, and e-mail addresses. Add new contact (Ctrl+G) creates a contact in the selected group. Right-click a contact to delete it, to remove it from the group or to move or copy it to another group; Batch (Ctrl+M) lets you tick several contacts and act on all of them at once. Type in the search line to find contacts by name or by pinyin initials.</translation>
    </message>
    <message>
        <source>The group list starts with All, Default and Blacklist. Click Add group to create a group: a free name is proposed, which you can change before you press Add. Double-click the name of a group you made to rename it; every name must be unique. Right-click a group to delete it or to dissolve it; both empty the group, and deleting also removes it from the list. The contacts themselves stay in the phonebook.</source>
        <translation>The group list starts with All, Default and Blacklist. Click Add group to create a group: a free name is proposed, which you can change before you press Add. Double-click the name of a group you made to rename it; every name must be unique. Right-click a group to delete it or to dissolve it; both empty the group, and deleting also removes it from the list. The contacts themselves stay in the phonebook.</translation>
    </message>
    <message>
        <source>Choose File &gt; History (Ctrl+R) or the History button to go back to a phonebook saved earlier. Every save leaves a copy in the target folder, named with its date and time; the copy you open replaces the phonebook in the window. Save your work before you open a copy: changes that are not saved are lost.</source>
        <translation>Choose File &gt; History (Ctrl+R) or the History button to go back to a phonebook saved earlier. Every save leaves a copy in the target folder, named with its date and time; the copy you open replaces the phonebook in the window. Save your work before you open a copy: changes that are not saved are lost.</translation>
    </message>
    <message>
        <source>Press the Backup button (Ctrl+B) to write the whole phonebook to a file of your choice, by default in the backup folder. A backup is always written in the general XML layout, which Local Import and History read back.</source>
        <translation>Press the Backup button (Ctrl+B) to write the whole phonebook to a file of your choice, by default in the backup folder. A backup is always written in the general XML layout, which Local Import and History read back.</translation>
    </message>
    <message>
        <source>Choose Language &gt; 简体中文 or Language &gt; English to change the language of the program. The choice is kept in the file language/config.xml and takes effect the next time the program starts. Without that file the program follows the language of the system.</source>
        <translation>Choose Language &gt; 简体中文 or Language &gt; English to change the language of the program. The choice is kept in the file language/config.xml and takes effect the next time the program starts. Without that file the program follows the language of the system.</translation>
    </message>
    <message>
        <source>The Options menu holds three switches that take effect at the next start: Auto Start starts the editor when you log on, Recovery Data reopens the phonebook you worked on last, and Auto Httpd starts the HTTPD server at once. Configure Httpd Port chooses the server&apos;s port: 80, or one from 5000 to 65535. The Open HTTPD button starts and stops the server, from which every phone fetches the phonebook in its own layout, and shows the phones&apos; requests.</source>
        <translation>The Options menu holds three switches that take effect at the next start: Auto Start starts the editor when you log on, Recovery Data reopens the phonebook you worked on last, and Auto Httpd starts the HTTPD server at once. Configure Httpd Port chooses the server&apos;s port: 80, or one from 5000 to 65535. The Open HTTPD button starts and stops the server, from which every phone fetches the phonebook in its own layout, and shows the phones&apos; requests.</translation>
    </message>
    <message>
        <source>Quorvane Phonebook Editor Help</source>
        <translation>Quorvane Phonebook Editor Help</translation>
    </message>
</context>
<context>
    <name>VCardParse</name>
    <message>
        <source>Line %1: a card begins or ends out of place.</source>
        <translation>Line %1: a card begins or ends out of place.</translation>
    </message>
    <message>
        <source>The file holds no contact.</source>
        <translation>The file holds no contact.</translation>
    </message>
    <message>
        <source>Line %1 (card %2)</source>
        <translation>Line %1 (card %2)</translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation>Line %1</translation>
    </message>
    <message>
        <source>%1 is not valid %2 text; choose the encoding the file was saved in.</source>
        <translation>%1 is not valid %2 text; choose the encoding the file was saved in.</translation>
    </message>
    <message>
        <source>%1: %2 is not valid %3 text, the charset it declares.</source>
        <translation>%1: %2 is not valid %3 text, the charset it declares.</translation>
    </message>
    <message>
        <source>%1: %2 declares the unknown charset %3, and it is not valid %4 text either; choose the encoding the file was saved in.</source>
        <translation>%1: %2 declares the unknown charset %3, and it is not valid %4 text either; choose the encoding the file was saved in.</translation>
    </message>
    <message>
        <source>%1: %2 is not valid %3 text; choose the encoding the file was saved in.</source>
        <translation>%1: %2 is not valid %3 text; choose the encoding the file was saved in.</translation>
    </message>
    <message>
        <source>%1: %2 declares the unknown charset %3; it was read as %4.</source>
        <translation>%1: %2 declares the unknown charset %3; it was read as %4.</translation>
    </message>
</context>
<context>
    <name>WebDownload</name>
    <message>
        <source>Download failed: File not found.</source>
        <translation>Download failed: File not found.</translation>
    </message>
    <message>
        <source>Download failed: The server does not support this request required function.</source>
        <translation>Download failed: The server does not support this request required function.</translation>
    </message>
    <message>
        <source>Download failed: %1.</source>
        <translation>Download failed: %1.</translation>
    </message>
    <message>
        <source>Download failed: HTTP request failed!</source>
        <translation>Download failed: HTTP request failed!</translation>
    </message>
    <message>
        <source>Unable to save the file %1.</source>
        <translation>Unable to save the file %1.</translation>
    </message>
    <message>
        <source>Download failed: the server refused the login.</source>
        <translation>Download failed: the server refused the login.</translation>
    </message>
    <message>
        <source>Download failed: the certificate of %1 was refused.</source>
        <translation>Download failed: the certificate of %1 was refused.</translation>
    </message>
</context>
<context>
    <name>WebImport</name>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Http authentication required</source>
        <translation>Http authentication required</translation>
    </message>
    <message>
        <source>You need to supply a Username and a Password to access this site</source>
        <translation>You need to supply a Username and a Password to access this site</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Username:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Site:</source>
        <translation>Site:</translation>
    </message>
    <message>
        <source>Network Import</source>
        <translation>Network Import</translation>
    </message>
    <message>
        <source>Please enter the URL of a file you want to download.</source>
        <translation>Please enter the URL of a file you want to download.</translation>
    </message>
    <message>
        <source>&amp;URL:</source>
        <translation>&amp;URL:</translation>
    </message>
    <message>
        <source>File encoding</source>
        <translation>File encoding</translation>
    </message>
    <message>
        <source>Clear list</source>
        <translation>Clear list</translation>
    </message>
    <message>
        <source>Replace Way</source>
        <translation>Replace Way</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Please enter in the correct address of network phonebook.</source>
        <translation>Please enter in the correct address of network phonebook.</translation>
    </message>
    <message>
        <source>HTTP</source>
        <translation>HTTP</translation>
    </message>
    <message>
        <source>There already exists a file called %1 in the current directory. Overwrite?</source>
        <translation>There already exists a file called %1 in the current directory. Overwrite?</translation>
    </message>
    <message>
        <source>Downloading %1.</source>
        <translation>Downloading %1.</translation>
    </message>
    <message>
        <source>Download canceled.</source>
        <translation>Download canceled.</translation>
    </message>
    <message>
        <source>Downloaded %1 to web folder success!</source>
        <translation>Downloaded %1 to web folder success!</translation>
    </message>
    <message>
        <source>%1 at %2</source>
        <translation>%1 at %2</translation>
    </message>
    <message>
        <source>HTTP Example</source>
        <translation>HTTP Example</translation>
    </message>
    <message>
        <source>One or more SSL errors has occurred: %1</source>
        <translation>One or more SSL errors has occurred: %1</translation>
    </message>
    <message>
        <source>The server refused this user name and password.</source>
        <translation>The server refused this user name and password.</translation>
    </message>
</context>
<context>
    <name>XmlBrennExport</name>
    <message>
        <source>Family</source>
        <translation>Family</translation>
    </message>
    <message>
        <source>Friends</source>
        <translation>Friends</translation>
    </message>
    <message>
        <source>Work</source>
        <translation>Work</translation>
    </message>
</context>
<context>
    <name>XmlParse</name>
    <message>
        <source>Family</source>
        <translation>Family</translation>
    </message>
    <message>
        <source>Work</source>
        <translation>Work</translation>
    </message>
    <message>
        <source>Friends</source>
        <translation>Friends</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>The file holds no XML element.</source>
        <translation>The file holds no XML element.</translation>
    </message>
</context>
</TS>
