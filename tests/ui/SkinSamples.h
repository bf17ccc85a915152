#pragma once
#include <windows.h>

// Skin texts shaped like the window skins the framework reads: a "Window"
// root with fonts, defaults and images, then nested layouts and controls.
namespace SkinSamples {

inline const wchar_t* const kMainFrame =
    LR"xml(<?xml version="1.0" encoding="utf-8" standalone="yes" ?>
<Window size="800,495" caption="0,0,0,40" roundcorner="4,4" sizebox="4,4,4,4" mininfo="600,400" bktrans="false">
    <!-- fonts are numbered from 0 in document order -->
    <Font name="微软雅黑" size="12" bold="false" default="true" />
    <Font name="微软雅黑" size="14" bold="true" />
    <Font name="Tahoma" size="16" underline="true" italic="false" />
    <Default name="VScrollBar" value="button1normalimage=&quot;file='scroll.png' source='0,0,16,16'&quot; showbutton1=&quot;false&quot;" />
    <Default name="Button" value="textcolor=&quot;#FF333333&quot; font=&quot;1&quot;" />
    <Image name="bg.png" mask="#FFFF00FF" />
    <Image name="101" restype="PNG" />
    <VerticalLayout name="root" bkimage="file='bg.png' corner='4,4,4,4'" bkcolor="#FFF4F4F4" inset="1,1,1,1">
        <HorizontalLayout name="caption" height="40" bkcolor="#FF2B5797">
            <Label name="title" text="卸载程序" textcolor="#FFFFFFFF" font="1" padding="12,0,0,0" />
            <Control />
            <Button name="closebtn" width="40" height="40" normalimage="file='close.png' source='0,0,40,40'" hotimage="file='close.png' source='40,0,80,40'" pushedimage="file='close.png' source='80,0,120,40'" tooltip="关闭" />
        </HorizontalLayout>
        <TabLayout name="pages" selectedid="0">
            <VerticalLayout name="page1" inset="30,20,30,20">
                <Text name="farewell" text="{b}感谢您的陪伴{/b}&lt;n&gt;确定要卸载吗？" showhtml="true" height="80" />
                <HorizontalLayout height="36" childpadding="20">
                    <Button name="UninstallNextStep" text="继续卸载" width="120" />
                    <Button name="StayBtn" text="我再想想" width="120" />
                </HorizontalLayout>
            </VerticalLayout>
            <VerticalLayout name="page3">
                <Progress name="progress" height="12" min="0" max="100" value="0" foreimage="file='progress.png'" />
                <Label name="percent" text="0%" align="center" />
            </VerticalLayout>
        </TabLayout>
    </VerticalLayout>
</Window>
)xml";

inline const wchar_t* const kQuestionnaire = LR"xml(<?xml version="1.0" encoding="utf-8"?>
<VerticalLayout name="page2" inset="20,10,20,10" childpadding="6">
  <Label name="q1title" text="1. 您卸载的原因是？" font="1" height="24"/>
  <HorizontalLayout height="24" childpadding="10">
    <Option name="q1o1" group="q1" text="游戏太难" selected="true" normalimage="file='radio.png' dest='0,4,16,20'" selectedimage="file='radio_sel.png' dest='0,4,16,20'" textpadding="20,0,0,0"/>
    <Option name="q1o2" group="q1" text="没有时间" textpadding="20,0,0,0"/>
    <CheckBox name="q1o3" text="其它 &amp; 更多" textpadding="20,0,0,0"/>
  </HorizontalLayout>
  <RichEdit name="otherreason" height="60" multiline="true" wantreturn="true" maxchar="140" bordercolor="#FFCCCCCC" bordersize="1" inset="4,4,4,4"/>
  <Label name="hint" text="请勿超过140字" textcolor="#FF999999"/>
  <HorizontalLayout height="32">
    <Control/>
    <Button name="BeginUnistall" text="开始卸载" width="100" normalimage="btn.png" hotimage="btn_hot.png"/>
  </HorizontalLayout>
</VerticalLayout>
)xml";

inline const wchar_t* const kFinishPage = LR"xml(<Window size="400,300">
	<Font name="Arial" size="13"/>
	<Default name="Label" value="font=&quot;0&quot; textcolor=&quot;#FF202020&quot;"/>
	<VerticalLayout>
		<Label text="卸载完成" align="center" height="40"/>
		<TileLayout name="ads" columns="2" itemsize="160,60">
			<Button name="ad1" bkimage="file='ad1.png'" visible="false"/>
			<Button name="ad2" bkimage="file='ad2.png'" visible="false"/>
			<Button name="ad3" bkimage="file='ad3.png'" visible="false"/>
			<Button name="ad4" bkimage="file='ad4.png'" visible="false"/>
		</TileLayout>
		<Button name="UnistallFinished" text="完成" height="30" width="100" float="true" pos="150,250,250,280"/>
	</VerticalLayout>
</Window>)xml";

inline const wchar_t* const kListSkin =
    LR"xml(<Window size="320,240" alpha="230" showdirty="false" defaultfontcolor="#FF000000" linkfontcolor="#FF0000FF">
  <Include source="scrollbar.xml" count="1"/>
  <Combo name="channel" itemtextcolor="#FF000000" dropboxsize="0,150" textpadding="4,1,1,1">
    <ListLabelElement text="官方" selected="true"/>
    <ListLabelElement text="渠道 A"/>
  </Combo>
  <List name="files" header="hidden" itemshowhtml="true" vscrollbar="true">
    <ListHeader><ListHeaderItem text="名称" width="200"/><ListHeaderItem text="大小" width="100"/></ListHeader>
    <ListTextElement text="a.dat"/>
  </List>
  <TreeView name="tree"><TreeNode text="root" folderattr="width=&quot;16&quot;"><TreeNode text="leaf"/></TreeNode></TreeView>
  <Slider name="volume" min="0" max="100" value="50" thumbsize="10,10"/>
  <Edit name="path" text="C:\Games\Velmora\" maxchar="259"/>
</Window>
)xml";

inline const wchar_t* const kAll[] = {kMainFrame, kQuestionnaire, kFinishPage, kListSkin};

} // namespace SkinSamples
