<map version="0.9.0">
<!-- To view this file, download free mind mapping software FreeMind from http://freemind.sourceforge.net -->
<node CREATED="1291206011000" ID="ID_1723255651" MODIFIED="1291206034000" TEXT="&#x6839;&#x8282;&#x70b9;">
<hook NAME="accessories/plugins/AutomaticLayout.properties"/>
<node CREATED="1291206040000" ID="ID_1455713398" LINK="http://freemind.sourceforge.net" MODIFIED="1291206101000" POSITION="left" TEXT="&#x5de6;&#x8fb9;&#x7684;&#x5206;&#x652f;">
<richcontent TYPE="NOTE"><html>
  <head>
    
  </head>
  <body>
    <p>
      &#x4e00;&#x6bb5;&#x7b14;&#x8bb0;
    </p>
  </body>
</html>
</richcontent>
<edge STYLE="bezier" WIDTH="thin"/>
<font NAME="SansSerif" SIZE="12"/>
<icon BUILTIN="idea"/>
<node CREATED="1291206045000" FOLDED="true" ID="ID_602217340" MODIFIED="1291206050000" TEXT="&#x53f6;&#x5b50;">
<attribute NAME="priority" VALUE="1"/>
<node CREATED="1291206052000" ID="ID_1908435111" MODIFIED="1291206055000" TEXT="&#x66f4;&#x6df1;"/>
</node>
</node>
<node BACKGROUND_COLOR="#ffff00" COLOR="#008000" CREATED="1291206060000" ID="ID_1106361425" MODIFIED="1291206070000" POSITION="right" TEXT="&#x53f3;&#x8fb9;">
<cloud/>
<arrowlink DESTINATION="ID_1455713398" ENDARROW="Default" ENDINCLINATION="40;0;" ID="Arrow_ID_1" STARTARROW="None" STARTINCLINATION="40;0;"/>
</node>
</node>
</map>
