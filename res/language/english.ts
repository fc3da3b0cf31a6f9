<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>ExportFileThread</name>
    <message>
        <source>大气透过率</source>
        <translation>Atm. Transmittance</translation>
    </message>
    <message>
        <source>发射率</source>
        <translation>Emissivity</translation>
    </message>
    <message>
        <source>距离</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>大气温度</source>
        <translation>Atm. Temperature</translation>
    </message>
    <message>
        <source>反射温度</source>
        <translation>Reflected Temperature</translation>
    </message>
    <message>
        <source>找不到报告模板：%1</source>
        <translation>Report template not found: %1</translation>
    </message>
    <message>
        <source>无法在所选目录中创建导出文件夹</source>
        <translation>Cannot create the export folder in the chosen directory.</translation>
    </message>
    <message>
        <source>无法读取照片：%1</source>
        <translation>The photograph cannot be read: %1</translation>
    </message>
    <message>
        <source>无法创建 %1：%2</source>
        <translation>Cannot create %1: %2</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>无法生成报告文档</source>
        <translation>The report document cannot be put together</translation>
    </message>
    <message>
        <source>无法读取报告模板：%1</source>
        <translation>The report template cannot be read: %1</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>帧温度</source>
        <translation>Frame Temperatures</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>最大值</source>
        <translation>Max. (℃)</translation>
    </message>
    <message>
        <source>最小值</source>
        <translation>Min (℃)</translation>
    </message>
    <message>
        <source>平均值</source>
        <translation>Average (℃)</translation>
    </message>
</context>
<context>
    <name>HomePage</name>
    <message>
        <source>选择目录</source>
        <translation>Choose a folder</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>全部资源</source>
        <translation>All Resources</translation>
    </message>
    <message>
        <source>正在导入图片...</source>
        <translation>Importing Images...</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>此文件夹中没有照片。</source>
        <translation>There are no photographs in this folder.</translation>
    </message>
    <message>
        <source>还没有导入文件夹：点击“导入”选择一个。</source>
        <translation>No folder imported yet: click “Import” to choose one.</translation>
    </message>
    <message>
        <source>导入的文件夹中没有照片。</source>
        <translation>There are no photographs in the imported folders.</translation>
    </message>
    <message>
        <source>查找热点</source>
        <translation>Find hot spots</translation>
    </message>
</context>
<context>
    <name>My3DWdg</name>
    <message>
        <source>3D热图</source>
        <translation>3D Heat Map</translation>
    </message>
    <message>
        <source>没有温度数据</source>
        <translation>No temperature data</translation>
    </message>
    <message>
        <source>长</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>宽</source>
        <translation>Width</translation>
    </message>
</context>
<context>
    <name>MyItemTemp</name>
    <message>
        <source>最大值：</source>
        <translation>Max:</translation>
    </message>
    <message>
        <source>最小值：</source>
        <translation>Min:</translation>
    </message>
    <message>
        <source>平均值：</source>
        <translation>Avg:</translation>
    </message>
</context>
<context>
    <name>MyMsgBoxDlg</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>打开文件夹</source>
        <translation>Open folder</translation>
    </message>
    <message>
        <source>无法打开文件夹</source>
        <translation>Cannot open the folder</translation>
    </message>
</context>
<context>
    <name>MyProgressDlg</name>
    <message>
        <source>导出进度</source>
        <translation>Export Progress</translation>
    </message>
    <message>
        <source>取消导出</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>导出完成!</source>
        <translation>Exported.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>导出成功！</source>
        <translation>Exported.</translation>
    </message>
    <message>
        <source>已导出 %1 张图片，共 %2 张</source>
        <translation>%1 of %2 photos exported.</translation>
    </message>
    <message>
        <source>导出失败</source>
        <translation>Export failed.</translation>
    </message>
    <message>
        <source>导出已取消，已写入 %1 个文件，保存在：%2</source>
        <translation>Export cancelled: %1 file(s) were written to %2</translation>
    </message>
    <message>
        <source>已导出 %1 张图片，共 %2 张，保存在：%3</source>
        <translation>%1 of %2 photos exported to %3</translation>
    </message>
    <message>
        <source>导出成功！文件保存在：%1</source>
        <translation>Exported. The files are in %1</translation>
    </message>
    <message>
        <source>正在取消导出...</source>
        <translation>Cancelling the export...</translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>%2 — %1</source>
        <translation>%2 — %1</translation>
    </message>
    <message>
        <source>未能导出的图片及原因：</source>
        <translation>Photographs not exported, and why:</translation>
    </message>
</context>
<context>
    <name>MyTitleBar</name>
    <message>
        <source>首页</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>任意</source>
        <translation>Arbitrary</translation>
    </message>
    <message>
        <source>指针</source>
        <translation>Pointer</translation>
    </message>
    <message>
        <source>测量点</source>
        <translation>Measuring
Point</translation>
    </message>
    <message>
        <source>直线</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>矩形</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>圆形</source>
        <translation>Circle</translation>
    </message>
    <message>
        <source>多边形</source>
        <translation>Polygon</translation>
    </message>
    <message>
        <source>整帧测温</source>
        <translation>Full-Frame
Temp.</translation>
    </message>
    <message>
        <source>颜色</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>低温报警</source>
        <translation>Low
Temp.</translation>
    </message>
    <message>
        <source>高温报警</source>
        <translation>High
Temp.</translation>
    </message>
    <message>
        <source>3D热图</source>
        <translation>3D Heat
 Map</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>更多</source>
        <translation>More</translation>
    </message>
    <message>
        <source>语言：</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>大字体</source>
        <translation>Large</translation>
    </message>
    <message>
        <source>默认字体</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>小字体</source>
        <translation>Small</translation>
    </message>
    <message>
        <source>屏蔽区域</source>
        <translation>Shielded</translation>
    </message>
    <message>
        <source>最大化</source>
        <translation>Maximise</translation>
    </message>
    <message>
        <source>还原</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>单击添加顶点，双击或右键完成</source>
        <translation>Click to add corners; double-click or right-click to finish</translation>
    </message>
</context>
<context>
    <name>OutputInfoWdg</name>
    <message>
        <source>一份报告</source>
        <translation>One report</translation>
    </message>
    <message>
        <source>所选照片合为一份报告：封面、按最高温度排列的汇总，以及每张照片的图像和测量。</source>
        <translation>The selected photographs in one report: a cover, a summary ordered by maximum temperature, and each photograph&apos;s picture and measurements.</translation>
    </message>
    <message>
        <source>现场：</source>
        <translation>Site:</translation>
    </message>
    <message>
        <source>照片所在文件夹的名称</source>
        <translation>The photographs&apos; folder name</translation>
    </message>
    <message>
        <source>格式：</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>报告</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>保存报告</source>
        <translation>Save report</translation>
    </message>
    <message>
        <source>Word 文档 (*.docx)</source>
        <translation>Word document (*.docx)</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF file (*.pdf)</translation>
    </message>
    <message>
        <source>文件已存在，要替换它吗？
%1</source>
        <translation>The file already exists. Replace it?
%1</translation>
    </message>
    <message>
        <source>正在写入报告...</source>
        <translation>Writing the report...</translation>
    </message>
    <message>
        <source>报告已保存：%1</source>
        <translation>Report saved: %1</translation>
    </message>
    <message>
        <source>%1 处测温</source>
        <translation>Measurements: %1</translation>
    </message>
    <message>
        <source>导出报告</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>导出Word</source>
        <translation>Word</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>CSV</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>请选择导出图片</source>
        <translation>No photo selected.</translation>
    </message>
    <message>
        <source>选择保存目录</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>列出文件夹中的全部照片</source>
        <translation>All photographs of the folder</translation>
    </message>
    <message>
        <source>列出此文件夹中的每一张照片（.jpg）：%1</source>
        <translation>List every photograph (.jpg) of this folder: %1</translation>
    </message>
    <message>
        <source>导出CSV（Excel）</source>
        <translation>CSV (Excel)</translation>
    </message>
    <message>
        <source>带字节顺序标记的 UTF-8 表格，没有读数的像素留空，Excel 可直接打开。</source>
        <translation>UTF-8 tables with a byte-order mark and empty cells for pixels without a reading, which Excel opens as they are.</translation>
    </message>
</context>
<context>
    <name>QGraphicsPaint</name>
    <message>
        <source>复制红外样式</source>
        <translation>Copy Style</translation>
    </message>
    <message>
        <source>粘贴红外样式</source>
        <translation>Paste Style</translation>
    </message>
    <message>
        <source>粘贴红外样式至全部文件</source>
        <translation>Paste Style to All Files</translation>
    </message>
</context>
<context>
    <name>QuorviCameraTool</name>
    <message>
        <source>QuorviCameraTool</source>
        <translation>QuorviCameraTool</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>无法创建临时文件夹，分析的图片将无法导出。</source>
        <translation>No temporary folder could be created: analysed photos cannot be exported.</translation>
    </message>
    <message>
        <source>正在导出，退出将取消导出，其余图片不会导出。确定退出吗？</source>
        <translation>An export is running. Quitting cancels it and the remaining photos are not exported. Quit anyway?</translation>
    </message>
    <message>
        <source>有测温标记未能保存到照片旁的设置文件。退出前再试一次吗？</source>
        <translation>Some measurements could not be saved to the settings files beside their photographs. Try again before quitting?</translation>
    </message>
    <message>
        <source>再次保存</source>
        <translation>Save again</translation>
    </message>
    <message>
        <source>不保存</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>在打开的照片中查找热点</source>
        <translation>Find hot spots in the opened photographs</translation>
    </message>
</context>
<context>
    <name>SettingPage</name>
    <message>
        <source>删除所选测温</source>
        <translation>Delete the selected measurement</translation>
    </message>
    <message>
        <source>上一张</source>
        <translation>Previous photograph</translation>
    </message>
    <message>
        <source>下一张</source>
        <translation>Next photograph</translation>
    </message>
    <message>
        <source>第一张</source>
        <translation>First photograph</translation>
    </message>
    <message>
        <source>最后一张</source>
        <translation>Last photograph</translation>
    </message>
    <message>
        <source>复制测温布局</source>
        <translation>Copy the measurement layout</translation>
    </message>
    <message>
        <source>粘贴测温布局</source>
        <translation>Paste the measurement layout</translation>
    </message>
    <message>
        <source>粘贴测温布局至全部照片</source>
        <translation>Paste the measurement layout to all photographs</translation>
    </message>
    <message>
        <source>取消正在绘制的图形</source>
        <translation>Cancel the shape being drawn</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>缩小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>适合窗口</source>
        <translation>Fit to window</translation>
    </message>
    <message>
        <source>低增益</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>高增益</source>
        <translation>High</translation>
    </message>
    <message>
        <source>铁红</source>
        <translation>Iron Red</translation>
    </message>
    <message>
        <source>北极</source>
        <translation>Arctic</translation>
    </message>
    <message>
        <source>彩虹</source>
        <translation>Rainbow</translation>
    </message>
    <message>
        <source>彩虹2</source>
        <translation>Rainbow 2</translation>
    </message>
    <message>
        <source>描红</source>
        <translation>Tint</translation>
    </message>
    <message>
        <source>热铁</source>
        <translation>Hot Iron</translation>
    </message>
    <message>
        <source>熔岩</source>
        <translation>Fulgurite</translation>
    </message>
    <message>
        <source>医疗</source>
        <translation>Medical</translation>
    </message>
    <message>
        <source>白热</source>
        <translation>White Hot</translation>
    </message>
    <message>
        <source>黑热</source>
        <translation>Black Hot</translation>
    </message>
    <message>
        <source>辐射率：</source>
        <translation>Emissivity</translation>
    </message>
    <message>
        <source>距离：</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>湿度：</source>
        <translation>Humidity</translation>
    </message>
    <message>
        <source>反射温度：</source>
        <translation>Reflected Temperature</translation>
    </message>
    <message>
        <source>大气温度：</source>
        <translation>Atm. Temperature</translation>
    </message>
    <message>
        <source>大气透过率：</source>
        <translation>Atm. Transmittance</translation>
    </message>
    <message>
        <source>热成像云台型号：</source>
        <translation>Gimbal Model</translation>
    </message>
    <message>
        <source>红外版本号：</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>创建日期：</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>修改日期：</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>图像宽高：</source>
        <translation>Width x Height</translation>
    </message>
    <message>
        <source>热成像腔体温度：</source>
        <translation>Sensor Temperature</translation>
    </message>
    <message>
        <source>焦平面温度：</source>
        <translation>Focal Plane Temperature</translation>
    </message>
    <message>
        <source>上一次快门时间：</source>
        <translation>Last Shutter</translation>
    </message>
    <message>
        <source>当前增益状态：</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>GPS信息：</source>
        <translation>GPS</translation>
    </message>
    <message>
        <source>高度：</source>
        <translation>Altitude</translation>
    </message>
    <message>
        <source> 标记测温列表</source>
        <translation>Measured Temperatures</translation>
    </message>
    <message>
        <source>基本参数</source>
        <translation>Basic</translation>
    </message>
    <message>
        <source>环境信息</source>
        <translation>Environment</translation>
    </message>
    <message>
        <source>图像信息</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>暂无数据~</source>
        <translation>No data available.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>此照片没有温度数据。</source>
        <translation>This photograph has no temperatures.</translation>
    </message>
    <message>
        <source>拖动色标两端可设置温度范围。</source>
        <translation>Drag the ends of the scale to set the span.</translation>
    </message>
    <message>
        <source>嵌入图像的颜色大致对应照片的最低至最高温度。</source>
        <translation>The embedded picture&apos;s colours roughly span the photograph&apos;s minimum to maximum.</translation>
    </message>
    <message>
        <source>所选矩形设为热点参考</source>
        <translation>Use the selected rectangle as the hot-spot reference</translation>
    </message>
    <message>
        <source>清除热点参考</source>
        <translation>Clear the hot-spot reference</translation>
    </message>
    <message>
        <source>请先选择一个矩形。</source>
        <translation>Select a rectangle first.</translation>
    </message>
    <message>
        <source>此照片的热点查找将以所选矩形内的中位温度为参考。</source>
        <translation>The hot-spot finder will take the median temperature inside the selected rectangle as this photograph's reference.</translation>
    </message>
    <message>
        <source>此照片的热点查找将以整幅图像的中位温度为参考。</source>
        <translation>The hot-spot finder will take the median temperature of the whole picture as this photograph's reference.</translation>
    </message>
</context>
<context>
    <name>TempAlertDlg</name>
    <message>
        <source>设置高温报警</source>
        <translation>Set High Temp. Warning</translation>
    </message>
    <message>
        <source>设置低温报警</source>
        <translation>Set Low Temp. Warning</translation>
    </message>
    <message>
        <source>设置报警温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>°C</source>
        <translation>°C</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>温度不能为空</source>
        <translation>Temperature threshold required.</translation>
    </message>
    <message>
        <source>温度必须是数字</source>
        <translation>The temperature must be a number.</translation>
    </message>
</context>
<context>
    <name>CameraParameters</name>
    <message>
        <source>辐射率须在 1% 到 100% 之间。</source>
        <translation>Emissivity must be between 1% and 100%.</translation>
    </message>
    <message>
        <source>距离须在 0.5 m 到 500 m 之间。</source>
        <translation>Distance must be between 0.5 m and 500 m.</translation>
    </message>
    <message>
        <source>湿度须在 0% 到 100% 之间。</source>
        <translation>Humidity must be between 0% and 100%.</translation>
    </message>
    <message>
        <source>反射温度须在 -40 ℃ 到 550 ℃ 之间。</source>
        <translation>Reflected temperature must be between -40 ℃ and 550 ℃.</translation>
    </message>
    <message>
        <source>此照片直接存储温度，其参数不能修正。</source>
        <translation>This photograph stores its temperatures directly; its parameters cannot be corrected.</translation>
    </message>
</context>
<context>
    <name>Sidecar</name>
    <message>
        <source>无法读取 %1：%2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>%1 不是本程序的设置文件。</source>
        <translation>%1 is not a settings file of this program.</translation>
    </message>
    <message>
        <source>无法保存 %1：%2</source>
        <translation>Cannot save %1: %2</translation>
    </message>
</context>
<context>
    <name>CameraParameterEditor</name>
    <message>
        <source>应用到列表中的所有照片</source>
        <translation>Apply to all photographs of the list</translation>
    </message>
    <message>
        <source>此照片直接存储温度（或没有温度），这些参数不能修正。</source>
        <translation>This photograph stores its temperatures directly (or has none); these parameters cannot be corrected.</translation>
    </message>
    <message>
        <source>已修正的值（照片文件未改动）。输入新值后按回车重新计算温度。</source>
        <translation>Corrected value (the photograph file is unchanged). Type a new value and press Enter to recompute the temperatures.</translation>
    </message>
    <message>
        <source>输入新值后按回车，温度将按此参数重新计算。</source>
        <translation>Type a new value and press Enter: the temperatures are recomputed with it.</translation>
    </message>
    <message>
        <source>把这四个参数设置到列表中每张需要标定转换的照片上。</source>
        <translation>Sets these four parameters on every photograph of the list whose temperatures are converted through a calibration.</translation>
    </message>
    <message>
        <source>“%1”不是数字。</source>
        <translation>&quot;%1&quot; is not a number.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Info</translation>
    </message>
</context>
<context>
    <name>RenderingControls</name>
    <message>
        <source>渲染：</source>
        <translation>Rendering:</translation>
    </message>
    <message>
        <source>嵌入图像</source>
        <translation>Embedded picture</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temperatures</translation>
    </message>
    <message>
        <source>自动范围</source>
        <translation>Automatic span</translation>
    </message>
    <message>
        <source>最低：</source>
        <translation>Low:</translation>
    </message>
    <message>
        <source>最高：</source>
        <translation>High:</translation>
    </message>
    <message>
        <source>所有照片使用相同范围</source>
        <translation>Same span for all photographs</translation>
    </message>
    <message>
        <source>显示照片自带的图像。</source>
        <translation>Shows the picture stored in the photograph.</translation>
    </message>
    <message>
        <source>按调色板在温度范围内显示照片的温度。</source>
        <translation>Shows the photograph&apos;s temperatures in the palette over the span.</translation>
    </message>
    <message>
        <source>此照片没有温度数据，只能显示嵌入图像。</source>
        <translation>This photograph has no temperatures: only its embedded picture can be shown.</translation>
    </message>
    <message>
        <source>温度范围只用于温度渲染。</source>
        <translation>The span applies to the temperature rendering only.</translation>
    </message>
    <message>
        <source>范围为照片的最低至最高温度。</source>
        <translation>The span is the photograph&apos;s minimum to maximum.</translation>
    </message>
    <message>
        <source>输入范围两端，或拖动色标两端。</source>
        <translation>Type the ends of the span, or drag the ends of the colour scale.</translation>
    </message>
    <message>
        <source>翻页时保持同一温度范围，便于对比照片。</source>
        <translation>Keeps one span while paging, so photographs compare by eye.</translation>
    </message>
</context>
<context>
    <name>ReportModel</name>
    <message>
        <source>报告已取消</source>
        <translation>The report was cancelled</translation>
    </message>
    <message>
        <source>汇总</source>
        <translation>Summary</translation>
    </message>
    <message>
        <source>无法创建 %1：%2</source>
        <translation>Cannot create %1: %2</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>现场</source>
        <translation>Site</translation>
    </message>
    <message>
        <source>拍摄时间</source>
        <translation>Captured</translation>
    </message>
    <message>
        <source>照片数量</source>
        <translation>Photographs</translation>
    </message>
    <message>
        <source>软件版本</source>
        <translation>Software version</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>GPS</source>
        <translation>GPS</translation>
    </message>
    <message>
        <source>最高温度</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>最低温度</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>平均温度</source>
        <translation>Average</translation>
    </message>
    <message>
        <source>测量数</source>
        <translation>Measurements</translation>
    </message>
    <message>
        <source>最热测量</source>
        <translation>Hottest measurement</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>海拔</source>
        <translation>Altitude</translation>
    </message>
    <message>
        <source>云台型号</source>
        <translation>Gimbal type</translation>
    </message>
    <message>
        <source>分辨率</source>
        <translation>Resolution</translation>
    </message>
    <message>
        <source>发射率</source>
        <translation>Emissivity</translation>
    </message>
    <message>
        <source>距离</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>反射温度</source>
        <translation>Reflected temperature</translation>
    </message>
    <message>
        <source>大气温度</source>
        <translation>Atm. temperature</translation>
    </message>
    <message>
        <source>湿度</source>
        <translation>Humidity</translation>
    </message>
    <message>
        <source>大气透过率</source>
        <translation>Atm. transmittance</translation>
    </message>
    <message>
        <source>全图温度</source>
        <translation>Whole-frame temperatures</translation>
    </message>
    <message>
        <source>最高温度位置 (像素)</source>
        <translation>Hottest pixel (px)</translation>
    </message>
    <message>
        <source>最低温度位置 (像素)</source>
        <translation>Coldest pixel (px)</translation>
    </message>
    <message>
        <source>测量</source>
        <translation>Measurements</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>最大值</source>
        <translation>Max.</translation>
    </message>
    <message>
        <source>最小值</source>
        <translation>Min.</translation>
    </message>
    <message>
        <source>平均值</source>
        <translation>Average</translation>
    </message>
    <message>
        <source>位置 (像素)</source>
        <translation>Position (px)</translation>
    </message>
    <message>
        <source>红外巡检报告</source>
        <translation>Thermal Inspection Report</translation>
    </message>
    <message>
        <source>异常</source>
        <translation>Anomalies</translation>
    </message>
    <message>
        <source>阈值（高于参考温度）</source>
        <translation>Threshold (above the reference)</translation>
    </message>
    <message>
        <source>最小面积</source>
        <translation>Minimum area</translation>
    </message>
    <message>
        <source>%1 像素</source>
        <translation>%1 pixels</translation>
    </message>
    <message>
        <source>辐照度</source>
        <translation>Irradiance</translation>
    </message>
    <message>
        <source>等级 3（温差 ≥ %1 K）</source>
        <translation>Class 3 (ΔT ≥ %1 K)</translation>
    </message>
    <message>
        <source>等级 2（%1 K ≤ 温差 &lt; %2 K）</source>
        <translation>Class 2 (%1 K ≤ ΔT &lt; %2 K)</translation>
    </message>
    <message>
        <source>等级 1（温差 &lt; %1 K）</source>
        <translation>Class 1 (ΔT &lt; %1 K)</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Where</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>等级</source>
        <translation>Class</translation>
    </message>
    <message>
        <source>温差 (K)</source>
        <translation>ΔT (K)</translation>
    </message>
    <message>
        <source>参考温度</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>面积 (像素)</source>
        <translation>Area (pixels)</translation>
    </message>
    <message>
        <source>最热点 (像素)</source>
        <translation>Hottest pixel</translation>
    </message>
</context>
<context>
    <name>LayoutHistory</name>
    <message>
        <source>%1 中有 %2 个测温标记无法读取，已略过：</source>
        <translation>%1 holds %2 measurements that cannot be read; they were left out:</translation>
    </message>
</context>
<context>
    <name>HotSpotModel</name>
    <message>
        <source>位置</source>
        <translation>Where</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>拍摄时间</source>
        <translation>Time taken</translation>
    </message>
    <message>
        <source>GPS</source>
        <translation>GPS</translation>
    </message>
    <message>
        <source>温差(K)</source>
        <translation>ΔT (K)</translation>
    </message>
    <message>
        <source>等级</source>
        <translation>Class</translation>
    </message>
    <message>
        <source>最高温度(℃)</source>
        <translation>Maximum (℃)</translation>
    </message>
    <message>
        <source>参考温度(℃)</source>
        <translation>Reference (℃)</translation>
    </message>
    <message>
        <source>面积(像素)</source>
        <translation>Area (pixels)</translation>
    </message>
</context>
<context>
    <name>HotSpotPage</name>
    <message>
        <source>正在扫描 %1 张图片…</source>
        <translation>Scanning %1 photographs…</translation>
    </message>
    <message>
        <source>正在按更改后的参数重新扫描 %1 张图片…</source>
        <translation>Scanning %1 changed photographs again…</translation>
    </message>
    <message>
        <source>等级1: %1  等级2: %2  等级3: %3</source>
        <translation>Class 1: %1  Class 2: %2  Class 3: %3</translation>
    </message>
    <message>
        <source>扫描已取消：找到 %1 处异常。</source>
        <translation>Scan cancelled: %1 anomalies found.</translation>
    </message>
    <message>
        <source>扫描完成：%1 张图片中找到 %2 处异常。</source>
        <translation>Scan finished: %2 anomalies in %1 photographs.</translation>
    </message>
    <message>
        <source>%1 张图片无法读取。</source>
        <translation>%1 photographs could not be read.</translation>
    </message>
    <message>
        <source>导出异常列表</source>
        <translation>Export the anomaly list</translation>
    </message>
    <message>
        <source>GeoJSON (*.geojson *.json)</source>
        <translation>GeoJSON (*.geojson *.json)</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>已导出到 %1</source>
        <translation>Exported to %1</translation>
    </message>
    <message>
        <source>导出失败：%1</source>
        <translation>Export failed: %1</translation>
    </message>
    <message>
        <source>%1 处异常所在的图片没有GPS位置，未写入。</source>
        <translation>%1 anomalies are on photographs without a GPS position and were left out.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>阈值(K)</source>
        <translation>Threshold (K)</translation>
    </message>
    <message>
        <source>最小面积(像素)</source>
        <translation>Minimum area (pixels)</translation>
    </message>
    <message>
        <source>辐照度(W/m²)</source>
        <translation>Irradiance (W/m²)</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>等级界限(K)</source>
        <translation>Class limits (K)</translation>
    </message>
    <message>
        <source>重新扫描</source>
        <translation>Scan again</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>显示</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>全部等级</source>
        <translation>All classes</translation>
    </message>
    <message>
        <source>等级2及以上</source>
        <translation>Class 2 and above</translation>
    </message>
    <message>
        <source>仅等级3</source>
        <translation>Class 3 only</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>导出GeoJSON</source>
        <translation>Export GeoJSON</translation>
    </message>
    <message>
        <source>首页</source>
        <translation>Home</translation>
    </message>
</context>
</TS>
