<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>AddNewGroupDialog</name>
    <message>
        <source>Customize new group name</source>
        <translation>自定义新群组名称</translation>
    </message>
    <message>
        <source>New Group Name:</source>
        <translation>新群组名称：</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>AddressBookDialog</name>
    <message>
        <source>Address books</source>
        <translation>通讯录服务器</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>群组</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Last result</source>
        <translation>上次结果</translation>
    </message>
    <message>
        <source>&amp;Add…</source>
        <translation>添加(&amp;A)…</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>移除(&amp;R)</translation>
    </message>
    <message>
        <source>Refresh &amp;now</source>
        <translation>立即刷新(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Schedule…</source>
        <translation>刷新计划(&amp;S)…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>关闭(&amp;C)</translation>
    </message>
    <message>
        <source>The address book &quot;%1&quot; could not be kept in phonebook.db (%2).</source>
        <translation>无法将通讯录“%1”保存到 phonebook.db（%2）。</translation>
    </message>
    <message>
        <source>Remove address book</source>
        <translation>移除通讯录</translation>
    </message>
    <message numerus="yes">
        <source>Remove the address book &quot;%1&quot;? Its %n contact(s) stay in the phonebook as your own and are no longer refreshed.</source>
        <translation>
            <numerusform>移除通讯录“%1”吗？它的 %n 个联系人将作为您自己的联系人保留在电话簿中，不再刷新。</numerusform>
        </translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移除</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>The address book &quot;%1&quot; could not be removed from phonebook.db (%2).</source>
        <translation>无法从 phonebook.db 中移除通讯录“%1”（%2）。</translation>
    </message>
    <message>
        <source>Refresh the address book &quot;%1&quot;:</source>
        <translation>刷新通讯录“%1”：</translation>
    </message>
</context>
<context>
    <name>AddressBookForm</name>
    <message>
        <source>Add address books</source>
        <translation>添加通讯录</translation>
    </message>
    <message>
        <source>https://dav.example.com/</source>
        <translation>https://dav.example.com/</translation>
    </message>
    <message>
        <source>&amp;Find address books</source>
        <translation>查找通讯录(&amp;F)</translation>
    </message>
    <message>
        <source>The server&apos;s address is enough: its address books are found from there (or give a book&apos;s own address).</source>
        <translation>只需填写服务器地址，即可从中找到它的通讯录（也可填写某个通讯录自己的地址）。</translation>
    </message>
    <message>
        <source>The book&apos;s own name</source>
        <translation>通讯录自己的名称</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>添加(&amp;A)</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>&amp;Address:</source>
        <translation>地址(&amp;A)：</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>用户名(&amp;U)：</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>密码(&amp;P)：</translation>
    </message>
    <message>
        <source>&amp;Group:</source>
        <translation>群组(&amp;G)：</translation>
    </message>
    <message>
        <source>&amp;Refresh:</source>
        <translation>刷新(&amp;R)：</translation>
    </message>
    <message>
        <source>Address books found:</source>
        <translation>找到的通讯录：</translation>
    </message>
    <message>
        <source>The search was stopped.</source>
        <translation>查找已停止。</translation>
    </message>
    <message>
        <source>%1 is no server address.</source>
        <translation>%1 不是服务器地址。</translation>
    </message>
    <message>
        <source>%1 (added already)</source>
        <translation>%1（已添加）</translation>
    </message>
    <message numerus="yes">
        <source>%n address book(s) found; tick those to add.</source>
        <translation>
            <numerusform>找到 %n 个通讯录；请勾选要添加的通讯录。</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>停止(&amp;S)</translation>
    </message>
</context>
<context>
    <name>CSVParse</name>
    <message>
        <source>The first line of the file names no column this program reads.</source>
        <translation>文件第一行没有本程序能读取的列名。</translation>
    </message>
    <message>
        <source>The quoted field that starts on line %1 is never closed.</source>
        <translation>从第 %1 行开始的引号字段没有结束引号。</translation>
    </message>
</context>
<context>
    <name>CardDavClient</name>
    <message>
        <source>The server&apos;s answer could not be read: %1</source>
        <translation>无法读取服务器的应答：%1</translation>
    </message>
    <message>
        <source>Looking for address books at %1</source>
        <translation>正在 %1 上查找通讯录</translation>
    </message>
    <message>
        <source>Asking %1 what changed</source>
        <translation>正在向 %1 询问有哪些更改</translation>
    </message>
    <message>
        <source>No address book at %1 (the server answered %2).</source>
        <translation>%1 上没有通讯录（服务器应答 %2）。</translation>
    </message>
    <message>
        <source>the server did not answer in time</source>
        <translation>服务器未及时应答</translation>
    </message>
    <message>
        <source>No address book found at %1.</source>
        <translation>在 %1 上没有找到通讯录。</translation>
    </message>
    <message numerus="yes">
        <source>Fetching %n card(s)</source>
        <translation>
            <numerusform>正在获取 %n 张名片</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CardRefresher</name>
    <message>
        <source>At start</source>
        <translation>启动时</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Every %1 minutes</source>
        <translation>每 %1 分钟</translation>
    </message>
    <message>
        <source>The refresh of the address book &quot;%1&quot; waits until your edits are saved or discarded.</source>
        <translation>通讯录“%1”的刷新将等到您的编辑保存或放弃之后进行。</translation>
    </message>
    <message>
        <source>Waiting for your edits to be saved</source>
        <translation>等待保存您的编辑</translation>
    </message>
    <message>
        <source>Refreshing…</source>
        <translation>正在刷新…</translation>
    </message>
    <message>
        <source>Refreshing the address book &quot;%1&quot;…</source>
        <translation>正在刷新通讯录“%1”…</translation>
    </message>
    <message>
        <source>%1 No password is kept for it: choose &quot;Refresh now&quot; in Import &gt; Address books to give it.</source>
        <translation>%1 未保存它的密码：请在“导入 &gt; 通讯录服务器”中选择“立即刷新”以输入密码。</translation>
    </message>
    <message numerus="yes">
        <source>%n contact(s) changed</source>
        <translation>
            <numerusform>%n 个联系人已更改</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The address book &quot;%1&quot; brought %n change(s); the phonebook was saved for the phones.</source>
        <translation>
            <numerusform>通讯录“%1”带来 %n 处更改；电话簿已为话机保存。</numerusform>
        </translation>
    </message>
    <message>
        <source>Up to date</source>
        <translation>已是最新</translation>
    </message>
    <message>
        <source>The address book &quot;%1&quot; is up to date.</source>
        <translation>通讯录“%1”已是最新。</translation>
    </message>
    <message>
        <source>The address book &quot;%1&quot; could not be refreshed: %2</source>
        <translation>无法刷新通讯录“%1”：%2</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>The refresh of the address book &quot;%1&quot; was cancelled.</source>
        <translation>通讯录“%1”的刷新已取消。</translation>
    </message>
    <message>
        <source>Not refreshed yet</source>
        <translation>尚未刷新</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
</context>
<context>
    <name>ContactEditor</name>
    <message>
        <source>This group did not have contact</source>
        <translation>此群组中没有联系人</translation>
    </message>
    <message>
        <source>You can create new contacts or copy contacts from other group.</source>
        <translation>您可以新建联系人，或从其他群组复制联系人。</translation>
    </message>
    <message>
        <source>No contact matches</source>
        <translation>没有匹配的联系人</translation>
    </message>
    <message>
        <source>Search by name, pinyin, initials or number.</source>
        <translation>可按姓名、拼音、首字母或号码查找。</translation>
    </message>
    <message>
        <source>First Name</source>
        <translation>名</translation>
    </message>
    <message>
        <source>Last Name</source>
        <translation>姓</translation>
    </message>
    <message>
        <source>Department</source>
        <translation>部门</translation>
    </message>
    <message>
        <source>Primary</source>
        <translation>主要号码</translation>
    </message>
    <message>
        <source>Add new phone number and type</source>
        <translation>添加新的电话号码和类型</translation>
    </message>
    <message>
        <source>Add new mail</source>
        <translation>添加新的邮件地址</translation>
    </message>
    <message>
        <source>Head</source>
        <translation>头像</translation>
    </message>
    <message>
        <source>Ringtone</source>
        <translation>铃声</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>群组</translation>
    </message>
</context>
<context>
    <name>ContactView</name>
    <message>
        <source>Batch</source>
        <translation>批量</translation>
    </message>
    <message>
        <source>Cancel Batch</source>
        <translation>取消批量</translation>
    </message>
</context>
<context>
    <name>DataMgr</name>
    <message>
        <source>Group name</source>
        <translation>群组名称</translation>
    </message>
    <message>
        <source>Group name cannot be repeated!</source>
        <translation>群组名称不能重复！</translation>
    </message>
    <message>
        <source>Phonebook store</source>
        <translation>电话簿存储</translation>
    </message>
    <message>
        <source>The phonebook could not be written to phonebook.db (%1).</source>
        <translation>无法将电话簿写入 phonebook.db（%1）。</translation>
    </message>
    <message>
        <source>Import is failed,please check the file format and encoding.</source>
        <translation>导入失败，请检查文件格式和编码。</translation>
    </message>
    <message>
        <source>The file %1 cannot be read.</source>
        <translation>无法读取文件 %1。</translation>
    </message>
    <message>
        <source>Import failed: the phonebook could not be written to phonebook.db (%1). Nothing was changed.</source>
        <translation>导入失败：无法将电话簿写入 phonebook.db（%1）。电话簿没有任何改动。</translation>
    </message>
    <message>
        <source>The phonebook could not be read from phonebook.db (%1).</source>
        <translation>无法从 phonebook.db 读取电话簿（%1）。</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>未知错误</translation>
    </message>
    <message>
        <source>The phonebook store %1 could not be opened: %2</source>
        <translation>无法打开电话簿存储 %1：%2</translation>
    </message>
    <message>
        <source>There is no layout %1.</source>
        <translation>没有第 %1 种格式。</translation>
    </message>
    <message>
        <source>The file to write has no name.</source>
        <translation>要写入的文件没有名称。</translation>
    </message>
    <message>
        <source>%1 could not be written (%2).</source>
        <translation>无法写入 %1（%2）。</translation>
    </message>
    <message>
        <source>Save failed: %1</source>
        <translation>保存失败：%1</translation>
    </message>
    <message>
        <source>The card %1 could not be read: it holds %2 contacts.</source>
        <translation>无法读取名片 %1：其中有 %2 个联系人。</translation>
    </message>
    <message>
        <source>The card %1 could not be read: %2</source>
        <translation>无法读取名片 %1：%2</translation>
    </message>
</context>
<context>
    <name>DialogParts</name>
    <message>
        <source>Auto</source>
        <translation>自动识别</translation>
    </message>
</context>
<context>
    <name>ExportDialog</name>
    <message>
        <source>Export file</source>
        <translation>导出文件</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>格式</translation>
    </message>
    <message>
        <source>Encode</source>
        <translation>编码</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Export to</source>
        <translation>导出到</translation>
    </message>
    <message>
        <source>Select path</source>
        <translation>选择路径</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>检查</translation>
    </message>
    <message>
        <source>What the export makes of the phonebook</source>
        <translation>导出将如何处理电话簿</translation>
    </message>
    <message>
        <source>%1: what the file will hold of the phonebook.</source>
        <translation>%1：文件将包含电话簿中的哪些内容。</translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation>正在检查…</translation>
    </message>
    <message>
        <source>Details…</source>
        <translation>详细信息…</translation>
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
        <translation>XML(最通用)</translation>
    </message>
    <message>
        <source>XML(For Alder)</source>
        <translation>XML(用于 Alder)</translation>
    </message>
    <message>
        <source>XML(For Birch)</source>
        <translation>XML(用于 Birch)</translation>
    </message>
    <message>
        <source>XML(For Cedar)</source>
        <translation>XML(用于 Cedar)</translation>
    </message>
    <message>
        <source>XML(For Brenn)</source>
        <translation>XML(用于 Brenn)</translation>
    </message>
    <message>
        <source>CSV(For Alder)</source>
        <translation>CSV(用于 Alder)</translation>
    </message>
    <message>
        <source>CSV(For Birch)</source>
        <translation>CSV(用于 Birch)</translation>
    </message>
    <message>
        <source>CSV(For Outlook)</source>
        <translation>CSV(用于 Outlook)</translation>
    </message>
    <message>
        <source>CSV(For Simplified Chinese Outlook)</source>
        <translation>CSV(用于简体中文 Outlook)</translation>
    </message>
    <message>
        <source>CSV(For Outlook Express)</source>
        <translation>CSV(用于 Outlook Express)</translation>
    </message>
    <message>
        <source>CSV(For Simplified Chinese Outlook Express)</source>
        <translation>CSV(用于简体中文 Outlook Express)</translation>
    </message>
    <message>
        <source>CSV(For Google GMail)</source>
        <translation>CSV(用于 Google GMail)</translation>
    </message>
</context>
<context>
    <name>ExportRules</name>
    <message>
        <source>the encoding %1 is unknown</source>
        <translation>未知的编码 %1</translation>
    </message>
    <message>
        <source>the encoding %1 cannot hold the name or mail address of %2</source>
        <translation>编码 %1 无法表示 %2 的姓名或邮件地址</translation>
    </message>
</context>
<context>
    <name>FolderLock</name>
    <message>
        <source>The phonebook in %1 cannot be locked for writing: %2 (%3).</source>
        <translation>无法锁定 %1 中的电话簿以便写入：%2（%3）。</translation>
    </message>
    <message>
        <source>The phonebook in %1 is being changed by another program; it did not finish within %2 seconds. Nothing was changed here; try again when it has finished.</source>
        <translation>%1 中的电话簿正被另一个程序修改，%2 秒内未完成。此处没有做任何改动；请等它完成后再试。</translation>
    </message>
</context>
<context>
    <name>GroupName</name>
    <message>
        <source>All</source>
        <translation>全部</translation>
    </message>
    <message>
        <source>Add group</source>
        <translation>添加群组</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>默认</translation>
    </message>
    <message>
        <source>Blacklist</source>
        <translation>黑名单</translation>
    </message>
    <message>
        <source>Family</source>
        <translation>家人</translation>
    </message>
    <message>
        <source>Friend</source>
        <translation>朋友</translation>
    </message>
    <message>
        <source>Work</source>
        <translation>工作</translation>
    </message>
    <message>
        <source>Friends</source>
        <translation>朋友</translation>
    </message>
</context>
<context>
    <name>GroupView</name>
    <message>
        <source>new</source>
        <translation>新群组</translation>
    </message>
</context>
<context>
    <name>HttpdService</name>
    <message>
        <source>Httpd Server</source>
        <translation>Httpd 服务器</translation>
    </message>
    <message>
        <source>Unable to start the server: NIC device not found.</source>
        <translation>无法启动服务器：未找到网卡设备。</translation>
    </message>
    <message>
        <source>Open the default port 80 failed, please go to &apos;Options -&gt; Configuration Httpd Port&apos; to configure or use a random port.</source>
        <translation>打开默认端口 80 失败，请到“选项 -&gt; 配置 HTTPD 端口”中进行配置，或使用随机端口。</translation>
    </message>
    <message>
        <source>Open the custom port failed, the Httpd server will use a random port</source>
        <translation>打开自定义端口失败，Httpd 服务器将使用随机端口</translation>
    </message>
    <message>
        <source>Unable to start the server: %1.</source>
        <translation>无法启动服务器：%1。</translation>
    </message>
    <message>
        <source>HTTPD server is running.</source>
        <translation>HTTPD 服务器正在运行。</translation>
    </message>
    <message>
        <source>ServerIP:%1</source>
        <translation>服务器IP:%1</translation>
    </message>
    <message>
        <source>ServerIP%1:%2</source>
        <translation>服务器IP%1:%2</translation>
    </message>
    <message>
        <source>Port:%1</source>
        <translation>端口:%1</translation>
    </message>
</context>
<context>
    <name>HttpdThread</name>
    <message>
        <source>One device request phonebook.</source>
        <translation>有设备请求电话簿。</translation>
    </message>
    <message>
        <source>Product:</source>
        <translation>产品:</translation>
    </message>
    <message>
        <source>FileName:</source>
        <translation>文件名:</translation>
    </message>
</context>
<context>
    <name>ImportDialog</name>
    <message>
        <source>Import file</source>
        <translation>导入文件</translation>
    </message>
    <message>
        <source>File Encoding</source>
        <translation>文件编码</translation>
    </message>
    <message>
        <source>Clear list</source>
        <translation>清空列表</translation>
    </message>
    <message>
        <source>Replace Way</source>
        <translation>替换方式</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>Select File</source>
        <translation>选择文件</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>LayoutCheck</name>
    <message>
        <source>(no name)</source>
        <translation>（无姓名）</translation>
    </message>
    <message>
        <source>The group %1 is past the %2 groups this phone takes.</source>
        <translation>群组 %1 超出了此话机可容纳的 %2 个群组。</translation>
    </message>
    <message>
        <source>%1 is past the %2 contacts this phone takes.</source>
        <translation>%1 超出了此话机可容纳的 %2 个联系人。</translation>
    </message>
    <message>
        <source>A contact has no name.</source>
        <translation>有联系人没有姓名。</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; has characters %3 cannot hold; the export is refused.</source>
        <translation>%1：“%2”含有 %3 无法表示的字符，导出将被拒绝。</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; has characters %3 cannot hold; they are written as &quot;?&quot;.</source>
        <translation>%1：“%2”含有 %3 无法表示的字符，这些字符将写为“?”。</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; has characters %3 cannot hold; they are written as character references.</source>
        <translation>%1：“%2”含有 %3 无法表示的字符，这些字符将写为字符引用。</translation>
    </message>
    <message>
        <source>%1 loses the group %2 on this phone.</source>
        <translation>%1 在此话机上将失去群组 %2。</translation>
    </message>
    <message>
        <source>%1: the number %2 cannot be dialled.</source>
        <translation>%1：号码 %2 无法拨打。</translation>
    </message>
    <message>
        <source>%1: the number %2 belongs to another contact too.</source>
        <translation>%1：号码 %2 也属于另一个联系人。</translation>
    </message>
    <message>
        <source>%1 has no number.</source>
        <translation>%1 没有号码。</translation>
    </message>
    <message>
        <source>%1: the number %2 (%3) is left out of this phone&apos;s file.</source>
        <translation>%1：号码 %2（%3）不会写入此话机的文件。</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n mail address(es) left out of this phone&apos;s file.</source>
        <translation>
            <numerusform>%1：%n 个邮件地址不会写入此话机的文件。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MailItem</name>
    <message>
        <source>Delete this mail address</source>
        <translation>删除此邮件地址</translation>
    </message>
</context>
<context>
    <name>MailType</name>
    <message>
        <source>Work</source>
        <translation>工作</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>家庭</translation>
    </message>
    <message>
        <source>Mobile</source>
        <translation>手机</translation>
    </message>
    <message>
        <source>Others</source>
        <translation>其他</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>HTTPD server request informations</source>
        <translation>HTTPD 服务器请求信息</translation>
    </message>
    <message>
        <source>Language change</source>
        <translation>更改语言</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>新建(&amp;N)</translation>
    </message>
    <message>
        <source>construct a new phone book</source>
        <translation>新建电话簿</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>Save file</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>&amp;History</source>
        <translation>历史记录(&amp;H)</translation>
    </message>
    <message>
        <source>Show history</source>
        <translation>显示历史记录</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>退出(&amp;E)</translation>
    </message>
    <message>
        <source>Quit program</source>
        <translation>退出程序</translation>
    </message>
    <message>
        <source>&amp;Local Import</source>
        <translation>本地导入(&amp;L)</translation>
    </message>
    <message>
        <source>Import file local</source>
        <translation>从本地导入文件</translation>
    </message>
    <message>
        <source>&amp;Network Import</source>
        <translation>网络导入(&amp;N)</translation>
    </message>
    <message>
        <source>Import file web</source>
        <translation>从网络导入文件</translation>
    </message>
    <message>
        <source>&amp;Local Export</source>
        <translation>本地导出(&amp;L)</translation>
    </message>
    <message>
        <source>Export file local</source>
        <translation>导出文件到本地</translation>
    </message>
    <message>
        <source>Auto Start</source>
        <translation>开机自启动</translation>
    </message>
    <message>
        <source>Recovery Data</source>
        <translation>恢复数据</translation>
    </message>
    <message>
        <source>Auto Httpd</source>
        <translation>自动启动 HTTPD</translation>
    </message>
    <message>
        <source>Configure Httpd Port</source>
        <translation>配置 HTTPD 端口</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>Show help info</source>
        <translation>显示帮助信息</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Show about info</source>
        <translation>显示关于信息</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>导入(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>导出(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>语言(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>选项(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>关于(&amp;A)</translation>
    </message>
    <message>
        <source>New</source>
        <translation>新建</translation>
    </message>
    <message>
        <source>New phonebook</source>
        <translation>新建电话簿</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>Save phonebook</source>
        <translation>保存电话簿</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Export phonebook</source>
        <translation>导出电话簿</translation>
    </message>
    <message>
        <source>Ctrl+E</source>
        <translation>Ctrl+E</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>Import phonebook</source>
        <translation>导入电话簿</translation>
    </message>
    <message>
        <source>Ctrl+I</source>
        <translation>Ctrl+I</translation>
    </message>
    <message>
        <source>History</source>
        <translation>历史记录</translation>
    </message>
    <message>
        <source>Recent phonebook</source>
        <translation>最近的电话簿</translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation>Ctrl+R</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>备份</translation>
    </message>
    <message>
        <source>Backup phonebook</source>
        <translation>备份电话簿</translation>
    </message>
    <message>
        <source>Ctrl+B</source>
        <translation>Ctrl+B</translation>
    </message>
    <message>
        <source>O&amp;pen HTTPD</source>
        <translation>开启 HTTPD(&amp;P)</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>群组</translation>
    </message>
    <message>
        <source>All</source>
        <translation>全部</translation>
    </message>
    <message>
        <source>Batch</source>
        <translation>批量</translation>
    </message>
    <message>
        <source>multiple choice</source>
        <translation>多选</translation>
    </message>
    <message>
        <source>Ctrl+M</source>
        <translation>Ctrl+M</translation>
    </message>
    <message>
        <source>Create one contact</source>
        <translation>新建联系人</translation>
    </message>
    <message>
        <source>Ctrl+G</source>
        <translation>Ctrl+G</translation>
    </message>
    <message>
        <source> Add new contact</source>
        <translation> 添加新联系人</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>还原</translation>
    </message>
    <message>
        <source>Quorvane Phonebook Editor</source>
        <translation>Quorvane 电话簿编辑器</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Operating,please wait.</source>
        <translation>正在处理，请稍候。</translation>
    </message>
    <message>
        <source>Open the HTTPD server</source>
        <translation>开启 HTTPD 服务器</translation>
    </message>
    <message>
        <source>&amp;Close HTTPD</source>
        <translation>关闭 HTTPD(&amp;C)</translation>
    </message>
    <message>
        <source>Close the HTTPD server</source>
        <translation>关闭 HTTPD 服务器</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>版本 %1</translation>
    </message>
    <message>
        <source>Quorvane makes IP desk phones and video phones for offices of every size. This editor keeps one phonebook for all of them: build it here, import what you already have, and let every phone fetch its own copy over the network.</source>
        <translation>Quorvane 为各种规模的办公室生产 IP 桌面电话和视频电话。本编辑器为所有这些话机维护同一份电话簿：在这里建立电话簿，导入您已有的数据，再让每部话机通过网络获取属于自己的副本。</translation>
    </message>
    <message>
        <source>The editor is developed and maintained by the Quorvane software team. Questions, suggestions and reports of problems are welcome through your Quorvane supplier.</source>
        <translation>本编辑器由 Quorvane 软件团队开发和维护。欢迎通过您的 Quorvane 供应商提出问题、建议和故障报告。</translation>
    </message>
    <message>
        <source>Exit program</source>
        <translation>退出程序</translation>
    </message>
    <message>
        <source>Do you want to save this phone book?</source>
        <translation>是否保存此电话簿？</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Exit without saving</source>
        <translation>退出且不保存</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Options change</source>
        <translation>更改选项</translation>
    </message>
    <message>
        <source>Config&apos;s change will take effect after reboot.</source>
        <translation>配置更改将在程序重新启动后生效。</translation>
    </message>
    <message>
        <source>Enter contact&apos;s name to search</source>
        <translation>输入联系人姓名搜索</translation>
    </message>
    <message>
        <source>Delete group</source>
        <translation>删除群组</translation>
    </message>
    <message>
        <source>Dissolute group</source>
        <translation>解散群组</translation>
    </message>
    <message>
        <source>Remove contact</source>
        <translation>移出联系人</translation>
    </message>
    <message>
        <source>Delete contact</source>
        <translation>删除联系人</translation>
    </message>
    <message>
        <source>Move to</source>
        <translation>移动到</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>复制到</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>Open an phonebook contact file (recommended phonebook.xml)</source>
        <translation>打开电话簿联系人文件（推荐 phonebook.xml）</translation>
    </message>
    <message>
        <source>common xml text phonebook (*.xml)</source>
        <translation>通用 XML 文本电话簿 (*.xml)</translation>
    </message>
    <message>
        <source>csv text phonebook(*.csv)</source>
        <translation>CSV 文本电话簿(*.csv)</translation>
    </message>
    <message>
        <source>common VCard phonebook(*.vcf)</source>
        <translation>通用 VCard 电话簿(*.vcf)</translation>
    </message>
    <message>
        <source>Look in</source>
        <translation>查找范围</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>文件名</translation>
    </message>
    <message>
        <source>File Type</source>
        <translation>文件类型</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Import Box</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>Please choose correct file to import.</source>
        <translation>请选择正确的文件进行导入。</translation>
    </message>
    <message>
        <source>Select a folder to export</source>
        <translation>选择导出的文件夹</translation>
    </message>
    <message>
        <source>Look in:</source>
        <translation>查找范围：</translation>
    </message>
    <message>
        <source>Path Name</source>
        <translation>路径名</translation>
    </message>
    <message>
        <source>Path Type</source>
        <translation>路径类型</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>选择</translation>
    </message>
    <message>
        <source>Export Box</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Please enter a name and choose correct path to export.</source>
        <translation>请输入名称并选择正确的导出路径。</translation>
    </message>
    <message>
        <source>Replace action</source>
        <translation>替换</translation>
    </message>
    <message>
        <source>has already exist</source>
        <translation>已存在</translation>
    </message>
    <message>
        <source>do you want to replace it?</source>
        <translation>是否替换它？</translation>
    </message>
    <message>
        <source>Phone book has been exported successfully!</source>
        <translation>电话簿导出成功！</translation>
    </message>
    <message>
        <source>Phone book export failed, please check directory or try another coding format!</source>
        <translation>电话簿导出失败，请检查目录或尝试其他编码格式！</translation>
    </message>
    <message>
        <source>Port Error</source>
        <translation>端口错误</translation>
    </message>
    <message>
        <source>The port should between 5000 and 65535!</source>
        <translation>端口应在 5000 到 65535 之间！</translation>
    </message>
    <message>
        <source>The port could not be saved in %1.</source>
        <translation>无法将端口保存到 %1。</translation>
    </message>
    <message>
        <source>Save option</source>
        <translation>保存选项</translation>
    </message>
    <message>
        <source>You want to save current edit phone book message?</source>
        <translation>是否保存当前编辑的电话簿？</translation>
    </message>
    <message>
        <source>No,thanks.</source>
        <translation>不保存</translation>
    </message>
    <message>
        <source>Save Box</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>current phonebook has been saved in target folder and named with current date and time.</source>
        <translation>当前电话簿已保存到 target 文件夹，并以当前日期和时间命名。</translation>
    </message>
    <message>
        <source>Select a history to continue edit</source>
        <translation>选择一个历史记录继续编辑</translation>
    </message>
    <message>
        <source>Phonebook files (*.xml *.csv *.vcf)</source>
        <translation>电话簿文件 (*.xml *.csv *.vcf)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>所有文件 (*)</translation>
    </message>
    <message>
        <source>Saved phonebooks (*.xml *.csv *.vcf)</source>
        <translation>已保存的电话簿 (*.xml *.csv *.vcf)</translation>
    </message>
    <message>
        <source>Phonebook backups (*.xml)</source>
        <translation>电话簿备份 (*.xml)</translation>
    </message>
    <message>
        <source>The language could not be kept for the next start: %1 could not be written.</source>
        <translation>无法保存语言设置供下次启动使用：无法写入 %1。</translation>
    </message>
    <message>
        <source>Import History Failed</source>
        <translation>导入历史记录失败</translation>
    </message>
    <message>
        <source>Import history failed,please check the history file.</source>
        <translation>导入历史记录失败，请检查历史记录文件。</translation>
    </message>
    <message>
        <source>Back up</source>
        <translation>备份</translation>
    </message>
    <message>
        <source>Backup Option</source>
        <translation>备份</translation>
    </message>
    <message>
        <source>The phonebook has been backed up to %1.</source>
        <translation>电话簿已备份到 %1。</translation>
    </message>
    <message>
        <source>Backup failed, please check the folder and try again.</source>
        <translation>备份失败，请检查文件夹后重试。</translation>
    </message>
    <message>
        <source>The encoding of the file could not be recognised; please choose it from the list.</source>
        <translation>无法识别文件的编码，请从列表中选择。</translation>
    </message>
    <message>
        <source>1 contact</source>
        <translation>1 个联系人</translation>
    </message>
    <message>
        <source>%1 contacts</source>
        <translation>%1 个联系人</translation>
    </message>
    <message>
        <source>Unsaved edits</source>
        <translation>未保存的编辑</translation>
    </message>
    <message>
        <source>A copy of unsaved edits was found but cannot be read: %1
It is left in %2.</source>
        <translation>找到了未保存编辑的副本，但无法读取：%1
它仍保留在 %2。</translation>
    </message>
    <message>
        <source>The editor was ended on %1 with unsaved edits. A copy of them was kept (%2).</source>
        <translation>编辑器于 %1 结束时有未保存的编辑，已保留其副本（%2）。</translation>
    </message>
    <message>
        <source>Restore brings them back as unsaved edits; the saved phonebook stays as it is until you save. Discard deletes the copy. Later asks again at the next start.</source>
        <translation>“还原”将其作为未保存的编辑找回，已保存的电话本在您保存之前保持不变。“丢弃”删除该副本。“稍后”在下次启动时再次询问。</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>丢弃</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>稍后</translation>
    </message>
    <message>
        <source>The copy of unsaved edits could not be removed (%1); it will be offered again at the next start.</source>
        <translation>无法删除未保存编辑的副本（%1），下次启动时将再次提供。</translation>
    </message>
    <message>
        <source>No phonebook is open</source>
        <translation>没有打开电话本</translation>
    </message>
    <message>
        <source>The saved phonebook holds %1 and was saved on %2.</source>
        <translation>已保存的电话本包含 %1，保存于 %2。</translation>
    </message>
    <message>
        <source>Open saved phonebook</source>
        <translation>打开已保存的电话本</translation>
    </message>
    <message>
        <source>Rename Group</source>
        <translation>重命名群组</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>撤销(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>撤销(&amp;U) %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>重做(&amp;R) %1</translation>
    </message>
    <message>
        <source>&amp;Delete Contacts</source>
        <translation>删除联系人(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>查找(&amp;F)</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>全选(&amp;A)</translation>
    </message>
    <message>
        <source>Select &amp;None</source>
        <translation>全不选(&amp;N)</translation>
    </message>
    <message>
        <source>Confirm Deletions</source>
        <translation>删除前确认</translation>
    </message>
    <message>
        <source>E&amp;dit</source>
        <translation>编辑(&amp;D)</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Don&apos;t ask again</source>
        <translation>不再询问</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Dissolve Group</source>
        <translation>解散群组</translation>
    </message>
    <message>
        <source>Delete Group</source>
        <translation>删除群组</translation>
    </message>
    <message>
        <source>Deleted the group &quot;%1&quot;</source>
        <translation>已删除群组“%1”</translation>
    </message>
    <message>
        <source>Add Group</source>
        <translation>添加群组</translation>
    </message>
    <message>
        <source>Add Contact</source>
        <translation>添加联系人</translation>
    </message>
    <message>
        <source>Edit Contact</source>
        <translation>编辑联系人</translation>
    </message>
    <message numerus="yes">
        <source>Delete %n contact(s)?</source>
        <translation>
            <numerusform>删除 %n 个联系人？</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Delete the group &quot;%1&quot;? Its %n contact(s) stay in the phonebook.</source>
        <translation>
            <numerusform>删除群组“%1”？其中的 %n 个联系人仍保留在电话簿中。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Delete %n Contact(s)</source>
        <translation>
            <numerusform>删除 %n 个联系人</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Deleted %n contact(s)</source>
        <translation>
            <numerusform>已删除 %n 个联系人</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Remove %n Contact(s) from Group</source>
        <translation>
            <numerusform>从群组移出 %n 个联系人</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %n Contact(s)</source>
        <translation>
            <numerusform>移动 %n 个联系人</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Copy %n Contact(s)</source>
        <translation>
            <numerusform>复制 %n 个联系人</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Phones</source>
        <translation>话机(&amp;P)</translation>
    </message>
    <message>
        <source>Check what each phone model gets</source>
        <translation>检查每种话机型号获得的内容</translation>
    </message>
    <message>
        <source>Phones</source>
        <translation>话机</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>Other models</source>
        <translation>其他型号</translation>
    </message>
    <message>
        <source>The phonebook as saved: what each phone model fetches.</source>
        <translation>已保存的电话簿：每种话机型号获取的内容。</translation>
    </message>
    <message>
        <source>The phonebook with its unsaved edits: what each phone model fetches once it is saved.</source>
        <translation>含未保存编辑的电话簿：保存后每种话机型号将获取的内容。</translation>
    </message>
    <message>
        <source>; those from the address book %1 were kept</source>
        <translation>；来自通讯录 %1 的联系人已保留</translation>
    </message>
    <message>
        <source>This comes from the address book %1 and would come back with its next refresh, so it is kept. Delete it on the server, or remove the address book (its contacts then stay as your own).</source>
        <translation>此联系人来自通讯录 %1，下次刷新时会重新出现，因此予以保留。请在服务器上删除它，或移除该通讯录（其联系人将作为您自己的联系人保留）。</translation>
    </message>
    <message>
        <source>Address &amp;books…</source>
        <translation>通讯录服务器(&amp;B)…</translation>
    </message>
    <message>
        <source>Contacts from address-book servers, kept up to date</source>
        <translation>来自通讯录服务器并保持最新的联系人</translation>
    </message>
    <message>
        <source>Address books</source>
        <translation>通讯录服务器</translation>
    </message>
    <message>
        <source>The phonebook could not be read from phonebook.db.</source>
        <translation>无法从 phonebook.db 读取电话簿。</translation>
    </message>
    <message>
        <source>The address book &quot;%1&quot; could not be refreshed: %2</source>
        <translation>无法刷新通讯录“%1”：%2</translation>
    </message>
    <message>
        <source>From the address book &quot;%1&quot;: a refresh would overwrite edits, so only its groups can be changed here.</source>
        <translation>来自通讯录“%1”：刷新会覆盖编辑，因此这里只能更改它的群组。</translation>
    </message>
</context>
<context>
    <name>ParseBase</name>
    <message>
        <source>The encoding %1 is unknown.</source>
        <translation>未知的编码 %1。</translation>
    </message>
    <message>
        <source>The file is not valid %1 text; choose the encoding it was saved in.</source>
        <translation>该文件不是有效的 %1 文本，请选择文件保存时使用的编码。</translation>
    </message>
</context>
<context>
    <name>PasswordStore</name>
    <message>
        <source>No secret store of the desktop answered, so the address books&apos; passwords are kept only until the editor ends; you will be asked for them again after the next start.</source>
        <translation>桌面的密码库没有响应，因此通讯录的密码只保留到编辑器关闭；下次启动后会再次询问您。</translation>
    </message>
</context>
<context>
    <name>PhoneCheckModel</name>
    <message>
        <source>The file cannot be made: the encoding %1 cannot hold some names or mail addresses.</source>
        <translation>无法生成文件：编码 %1 无法表示某些姓名或邮件地址。</translation>
    </message>
    <message>
        <source>Contacts: %1, groups: %2</source>
        <translation>联系人：%1，群组：%2</translation>
    </message>
    <message>
        <source>%1 — nothing lost or changed</source>
        <translation>%1 — 无丢失或更改</translation>
    </message>
    <message>
        <source>%1 — lost: %2, changed: %3</source>
        <translation>%1 — 丢失：%2，更改：%3</translation>
    </message>
    <message>
        <source>Lost</source>
        <translation>丢失</translation>
    </message>
    <message>
        <source>Changed</source>
        <translation>更改</translation>
    </message>
</context>
<context>
    <name>PhoneCheckView</name>
    <message>
        <source>Checking…</source>
        <translation>正在检查…</translation>
    </message>
</context>
<context>
    <name>PhoneFetchModel</name>
    <message>
        <source>%1: nothing was sent</source>
        <translation>%1：未发送任何内容</translation>
    </message>
    <message>
        <source>%1: %2 bytes sent</source>
        <translation>%1：已发送 %2 字节</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>This phone has an older phonebook; it gets the current one when it fetches again.</source>
        <translation>这部话机的电话簿较旧；它下次获取时会得到当前的电话簿。</translation>
    </message>
    <message>
        <source>This phone has not received a whole phonebook.</source>
        <translation>这部话机尚未收到完整的电话簿。</translation>
    </message>
    <message>
        <source>This phone has the phonebook that phones get now.</source>
        <translation>这部话机的电话簿是当前提供给话机的电话簿。</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>话机</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>Last fetch</source>
        <translation>最近获取</translation>
    </message>
    <message>
        <source>Up to date</source>
        <translation>最新</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>字节</translation>
    </message>
</context>
<context>
    <name>PhoneItem</name>
    <message>
        <source>account%1</source>
        <translation>账号%1</translation>
    </message>
    <message>
        <source>Using Active Account</source>
        <translation>使用当前账号</translation>
    </message>
    <message>
        <source>Delete this number</source>
        <translation>删除此号码</translation>
    </message>
</context>
<context>
    <name>PortDialog</name>
    <message>
        <source>Configure Httpd Port</source>
        <translation>配置 HTTPD 端口</translation>
    </message>
    <message>
        <source>Use the Default Port 80:</source>
        <translation>使用默认端口 80：</translation>
    </message>
    <message>
        <source>Custom Port (5000-65535):</source>
        <translation>自定义端口 (5000-65535)：</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>Records</name>
    <message>
        <source>Work</source>
        <translation>工作</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>家庭</translation>
    </message>
    <message>
        <source>Mobile</source>
        <translation>手机</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>传真</translation>
    </message>
    <message>
        <source>Pager</source>
        <translation>寻呼机</translation>
    </message>
    <message>
        <source>Car</source>
        <translation>车载电话</translation>
    </message>
    <message>
        <source>Radio</source>
        <translation>无线电</translation>
    </message>
    <message>
        <source>CompanyTotal</source>
        <translation>公司总号</translation>
    </message>
    <message>
        <source>Assistant</source>
        <translation>助理</translation>
    </message>
    <message>
        <source>Telex(Alderline)</source>
        <translation>电传(Alderline)</translation>
    </message>
    <message>
        <source>Main(Alderline)</source>
        <translation>主号码(Alderline)</translation>
    </message>
    <message>
        <source>MMS(Alderline)</source>
        <translation>彩信(Alderline)</translation>
    </message>
    <message>
        <source>ISDN(Alderline)</source>
        <translation>ISDN(Alderline)</translation>
    </message>
    <message>
        <source>TTY TTD(Alderline)</source>
        <translation>文字电话(Alderline)</translation>
    </message>
    <message>
        <source>Callback(Alderline)</source>
        <translation>回拨(Alderline)</translation>
    </message>
    <message>
        <source>Work Fax(Alderline)</source>
        <translation>工作传真(Alderline)</translation>
    </message>
    <message>
        <source>Home Fax(Alderline)</source>
        <translation>家庭传真(Alderline)</translation>
    </message>
    <message>
        <source>Other Fax(Alderline)</source>
        <translation>其他传真(Alderline)</translation>
    </message>
    <message>
        <source>Work Mobile(Alderline)</source>
        <translation>工作手机(Alderline)</translation>
    </message>
    <message>
        <source>Work Pager(Alderline)</source>
        <translation>工作寻呼机(Alderline)</translation>
    </message>
    <message>
        <source>Company Main(Alderline)</source>
        <translation>公司主号码(Alderline)</translation>
    </message>
    <message>
        <source>Custom(Alderline)</source>
        <translation>自定义(Alderline)</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>其他</translation>
    </message>
    <message>
        <source>default head</source>
        <translation>默认头像</translation>
    </message>
    <message>
        <source>default ringtone</source>
        <translation>默认铃声</translation>
    </message>
</context>
<context>
    <name>RecoveryCopy</name>
    <message>
        <source>It is not a copy of unsaved edits.</source>
        <translation>它不是未保存编辑的副本。</translation>
    </message>
    <message>
        <source>It was written by another version of the editor.</source>
        <translation>它由其他版本的编辑器写入。</translation>
    </message>
</context>
<context>
    <name>SqliteDatabase</name>
    <message>
        <source>the change was undone after an earlier error</source>
        <translation>此前的错误已使这次改动被撤销</translation>
    </message>
    <message>
        <source>it is not a phonebook store (it lacks the phonebook&apos;s tables); it was left as it is.</source>
        <translation>它不是电话簿存储（缺少电话簿的数据表）；文件未作改动。</translation>
    </message>
</context>
<context>
    <name>UserGuide</name>
    <message>
        <source>Create new phonebook</source>
        <translation>新建电话簿</translation>
    </message>
    <message>
        <source>Import an exist phonebook</source>
        <translation>导入已有电话簿</translation>
    </message>
    <message>
        <source>Save current phonebook</source>
        <translation>保存当前电话簿</translation>
    </message>
    <message>
        <source>Export current phonebook</source>
        <translation>导出当前电话簿</translation>
    </message>
    <message>
        <source>Managing contacts</source>
        <translation>管理联系人</translation>
    </message>
    <message>
        <source>Managing groups</source>
        <translation>管理群组</translation>
    </message>
    <message>
        <source>View history</source>
        <translation>查看历史记录</translation>
    </message>
    <message>
        <source>Make backup for current phonebook</source>
        <translation>备份当前电话簿</translation>
    </message>
    <message>
        <source>Language Option</source>
        <translation>语言选项</translation>
    </message>
    <message>
        <source>Other config options</source>
        <translation>其他配置选项</translation>
    </message>
    <message>
        <source>Choose File &gt; New (Ctrl+N) or the New button to start an empty phonebook that holds only the groups Default and Blacklist. When the phonebook in the window has changes that are not saved yet, you are asked first whether to save them, to drop them or to cancel.</source>
        <translation>选择“文件 &gt; 新建”(Ctrl+N)或点击“新建”按钮，开始一个只含“默认”和“黑名单”两个群组的空电话簿。如果窗口中的电话簿还有未保存的更改，程序会先询问您是保存、放弃还是取消。</translation>
    </message>
    <message>
        <source>Choose Import &gt; Local Import (Ctrl+I) or the Import button to read contacts from an XML, CSV or vCard file. Pick the file and its text encoding, choose whether the list is emptied first and whether contacts with the same name replace the ones you have, then press OK. Import &gt; Network Import (Ctrl+W) fetches a phonebook file from an http or https address and imports it the same way.</source>
        <translation>选择“导入 &gt; 本地导入”(Ctrl+I)或点击“导入”按钮，从 XML、CSV 或 vCard 文件读入联系人。选择文件及其文本编码，决定是否先清空列表、同名联系人是否替换现有联系人，然后点击“确定”。“导入 &gt; 网络导入”(Ctrl+W)从 http 或 https 地址下载电话簿文件，并以同样方式导入。</translation>
    </message>
    <message>
        <source>Choose File &gt; Save (Ctrl+S) or the Save file button. The phonebook is kept in the program&apos;s database, a copy named with the current date and time is written to the target folder, and the files that the built-in HTTPD server hands to the phones are renewed. Closing the window with unsaved changes asks whether to save them.</source>
        <translation>选择“文件 &gt; 保存”(Ctrl+S)或点击“保存文件”按钮。电话簿会保存到程序的数据库中，同时在 target 文件夹中写入一份以当前日期和时间命名的副本，并更新内置 HTTPD 服务器提供给话机的文件。关闭窗口时如有未保存的更改，程序会询问是否保存。</translation>
    </message>
    <message>
        <source>Choose Export &gt; Local Export (Ctrl+E) or the Export button to write the phonebook for another program or phone: vCard, the general XML layout, the XML and CSV layouts of the Alder, Birch, Cedar and Brenn phones, or the CSV layouts of Outlook, Outlook Express and Google Gmail. Choose the format, the text encoding, a name and a folder, then press OK. An existing file is only replaced after you confirm it.</source>
        <translation>选择“导出 &gt; 本地导出”(Ctrl+E)或点击“导出”按钮，将电话簿写成其他程序或话机使用的格式：vCard、通用 XML 格式、Alder、Birch、Cedar 和 Brenn 话机的 XML 与 CSV 格式，以及 Outlook、Outlook Express 和 Google Gmail 的 CSV 格式。选择格式、文本编码、文件名和文件夹，然后点击“确定”。已存在的文件只有在您确认后才会被替换。</translation>
    </message>
    <message>
        <source>Select a group on the left to list its contacts in the middle; the panel on the right shows the selected contact for editing: names, department, phone numbers with their types and accounts, and e-mail addresses. Add new contact (Ctrl+G) creates a contact in the selected group. Right-click a contact to delete it, to remove it from the group or to move or copy it to another group; Batch (Ctrl+M) lets you tick several contacts and act on all of them at once. Type in the search line to find contacts by name or by pinyin initials.</source>
        <translation>在左侧选择一个群组，中间即列出其中的联系人；右侧面板显示所选联系人以供编辑：姓名、部门、电话号码及其类型和账号、电子邮件地址。“添加新联系人”(Ctrl+G)在所选群组中新建联系人。右键单击联系人可将其删除、从群组中移除，或移动、复制到其他群组；“批量”(Ctrl+M)可勾选多个联系人并一次处理。在搜索框中输入姓名或拼音首字母即可查找联系人。</translation>
    </message>
    <message>
        <source>The group list starts with All, Default and Blacklist. Click Add group to create a group: a free name is proposed, which you can change before you press Add. Double-click the name of a group you made to rename it; every name must be unique. Right-click a group to delete it or to dissolve it; both empty the group, and deleting also removes it from the list. The contacts themselves stay in the phonebook.</source>
        <translation>群组列表以“全部”、“默认”和“黑名单”开头。点击“添加群组”新建群组：程序会建议一个尚未使用的名称，您可以在点击“添加”之前修改它。双击您创建的群组名称可将其重命名；每个名称都必须唯一。右键单击群组可将其删除或解散；两者都会清空群组，删除还会将其从列表中移除。联系人本身仍保留在电话簿中。</translation>
    </message>
    <message>
        <source>Choose File &gt; History (Ctrl+R) or the History button to go back to a phonebook saved earlier. Every save leaves a copy in the target folder, named with its date and time; the copy you open replaces the phonebook in the window. Save your work before you open a copy: changes that are not saved are lost.</source>
        <translation>选择“文件 &gt; 历史记录”(Ctrl+R)或点击“历史记录”按钮，回到之前保存的电话簿。每次保存都会在 target 文件夹中留下一份以日期和时间命名的副本；打开的副本将替换窗口中的电话簿。打开副本前请先保存您的工作：未保存的更改将会丢失。</translation>
    </message>
    <message>
        <source>Press the Backup button (Ctrl+B) to write the whole phonebook to a file of your choice, by default in the backup folder. A backup is always written in the general XML layout, which Local Import and History read back.</source>
        <translation>点击“备份”按钮(Ctrl+B)，将整个电话簿写入您选择的文件，默认位于 backup 文件夹。备份始终采用通用 XML 格式，可通过“本地导入”和“历史记录”读回。</translation>
    </message>
    <message>
        <source>Choose Language &gt; 简体中文 or Language &gt; English to change the language of the program. The choice is kept in the file language/config.xml and takes effect the next time the program starts. Without that file the program follows the language of the system.</source>
        <translation>选择“语言 &gt; 简体中文”或“语言 &gt; English”可更改程序的语言。该选择保存在 language/config.xml 文件中，并在程序下次启动时生效。没有该文件时，程序跟随系统的语言。</translation>
    </message>
    <message>
        <source>The Options menu holds three switches that take effect at the next start: Auto Start starts the editor when you log on, Recovery Data reopens the phonebook you worked on last, and Auto Httpd starts the HTTPD server at once. Configure Httpd Port chooses the server&apos;s port: 80, or one from 5000 to 65535. The Open HTTPD button starts and stops the server, from which every phone fetches the phonebook in its own layout, and shows the phones&apos; requests.</source>
        <translation>“选项”菜单中有三个开关，均在程序下次启动时生效：“开机自启动”在您登录时启动编辑器，“恢复数据”重新打开您上次编辑的电话簿，“自动启动 HTTPD”则在启动时立即开启 HTTPD 服务器。“配置 HTTPD 端口”用于选择服务器端口：80，或 5000 至 65535 之间的端口。“开启 HTTPD”按钮用于开启和关闭服务器（每部话机都从该服务器获取其自身格式的电话簿），并显示话机的请求。</translation>
    </message>
    <message>
        <source>Quorvane Phonebook Editor Help</source>
        <translation>Quorvane 电话簿编辑器帮助</translation>
    </message>
</context>
<context>
    <name>VCardParse</name>
    <message>
        <source>Line %1: a card begins or ends out of place.</source>
        <translation>第 %1 行：名片的开始或结束位置不正确。</translation>
    </message>
    <message>
        <source>The file holds no contact.</source>
        <translation>文件中没有联系人。</translation>
    </message>
    <message>
        <source>Line %1 (card %2)</source>
        <translation>第 %1 行（第 %2 张名片）</translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation>第 %1 行</translation>
    </message>
    <message>
        <source>%1 is not valid %2 text; choose the encoding the file was saved in.</source>
        <translation>%1 不是有效的 %2 文本，请选择文件保存时使用的编码。</translation>
    </message>
    <message>
        <source>%1: %2 is not valid %3 text, the charset it declares.</source>
        <translation>%1：%2 不是有效的 %3 文本（它声明的字符集）。</translation>
    </message>
    <message>
        <source>%1: %2 declares the unknown charset %3, and it is not valid %4 text either; choose the encoding the file was saved in.</source>
        <translation>%1：%2 声明了未知的字符集 %3，也不是有效的 %4 文本，请选择文件保存时使用的编码。</translation>
    </message>
    <message>
        <source>%1: %2 is not valid %3 text; choose the encoding the file was saved in.</source>
        <translation>%1：%2 不是有效的 %3 文本，请选择文件保存时使用的编码。</translation>
    </message>
    <message>
        <source>%1: %2 declares the unknown charset %3; it was read as %4.</source>
        <translation>%1：%2 声明了未知的字符集 %3，已按 %4 读取。</translation>
    </message>
</context>
<context>
    <name>WebDownload</name>
    <message>
        <source>Download failed: File not found.</source>
        <translation>下载失败：文件不存在。</translation>
    </message>
    <message>
        <source>Download failed: The server does not support this request required function.</source>
        <translation>下载失败：服务器不支持此请求所需的功能。</translation>
    </message>
    <message>
        <source>Download failed: %1.</source>
        <translation>下载失败：%1。</translation>
    </message>
    <message>
        <source>Download failed: HTTP request failed!</source>
        <translation>下载失败：HTTP 请求失败！</translation>
    </message>
    <message>
        <source>Unable to save the file %1.</source>
        <translation>无法保存文件 %1。</translation>
    </message>
    <message>
        <source>Download failed: the server refused the login.</source>
        <translation>下载失败：服务器拒绝了登录。</translation>
    </message>
    <message>
        <source>Download failed: the certificate of %1 was refused.</source>
        <translation>下载失败：%1 的证书被拒绝。</translation>
    </message>
</context>
<context>
    <name>WebImport</name>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>Http authentication required</source>
        <translation>需要 HTTP 身份验证</translation>
    </message>
    <message>
        <source>You need to supply a Username and a Password to access this site</source>
        <translation>访问此站点需要提供用户名和密码</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>用户名：</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>密码：</translation>
    </message>
    <message>
        <source>Site:</source>
        <translation>站点：</translation>
    </message>
    <message>
        <source>Network Import</source>
        <translation>网络导入</translation>
    </message>
    <message>
        <source>Please enter the URL of a file you want to download.</source>
        <translation>请输入要下载的文件的网址。</translation>
    </message>
    <message>
        <source>&amp;URL:</source>
        <translation>网址(&amp;U)：</translation>
    </message>
    <message>
        <source>File encoding</source>
        <translation>文件编码</translation>
    </message>
    <message>
        <source>Clear list</source>
        <translation>清空列表</translation>
    </message>
    <message>
        <source>Replace Way</source>
        <translation>替换方式</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Please enter in the correct address of network phonebook.</source>
        <translation>请输入正确的网络电话簿地址。</translation>
    </message>
    <message>
        <source>HTTP</source>
        <translation>HTTP</translation>
    </message>
    <message>
        <source>There already exists a file called %1 in the current directory. Overwrite?</source>
        <translation>当前目录中已存在名为 %1 的文件。是否覆盖？</translation>
    </message>
    <message>
        <source>Downloading %1.</source>
        <translation>正在下载 %1。</translation>
    </message>
    <message>
        <source>Download canceled.</source>
        <translation>下载已取消。</translation>
    </message>
    <message>
        <source>Downloaded %1 to web folder success!</source>
        <translation>已成功将 %1 下载到 web 文件夹！</translation>
    </message>
    <message>
        <source>%1 at %2</source>
        <translation>%2 上的 %1</translation>
    </message>
    <message>
        <source>HTTP Example</source>
        <translation>HTTP 示例</translation>
    </message>
    <message>
        <source>One or more SSL errors has occurred: %1</source>
        <translation>发生了一个或多个 SSL 错误：%1</translation>
    </message>
    <message>
        <source>The server refused this user name and password.</source>
        <translation>服务器拒绝了此用户名和密码。</translation>
    </message>
</context>
<context>
    <name>XmlBrennExport</name>
    <message>
        <source>Family</source>
        <translation>家人</translation>
    </message>
    <message>
        <source>Friends</source>
        <translation>朋友</translation>
    </message>
    <message>
        <source>Work</source>
        <translation>工作</translation>
    </message>
</context>
<context>
    <name>XmlParse</name>
    <message>
        <source>Family</source>
        <translation>家人</translation>
    </message>
    <message>
        <source>Work</source>
        <translation>工作</translation>
    </message>
    <message>
        <source>Friends</source>
        <translation>朋友</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <source>The file holds no XML element.</source>
        <translation>文件中没有任何 XML 元素。</translation>
    </message>
</context>
</TS>
